#pragma once

#include "customcontrolsite.h"
#include "stayrecorder.h"
#include "tablifecycle.h"

#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

class QMenu;
class QPrinter;

class CIEView;
class CSiteRequestDesk;

// The page of one tab: it decides which top-level addresses may open (frames are
// neither checked nor recorded), sends refused ones to the warning page, records every
// stay in the history and hands new windows to its view.
class CIEPage : public CCustomControlSite
{
    Q_OBJECT

public:
    CIEPage(QWebEngineProfile* profile, CIEView* view);
    ~CIEPage() override;

    // Ends the stay on the current page (a history row), once.
    void RecordLastStay();

    // Whether the document shown now is a recommended web page, decided once when it
    // comes (with the switch on): its frames and requests need no site check each.
    bool DocumentRecommended() const { return m_bDocumentRecommended; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Nothing is ever picked from the child's files: a page's file chooser gets no file.
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;

private:
    friend class CIEView;
    void showWarning(const QString& refusedAddress);
    void openWarning(const QUrl& warning);

    CIEView* m_pView;
    StayRecorder m_stays;
    bool m_bDocumentRecommended = false;
    // An unloaded page is loading its address again: the stay on it goes on, so that
    // load is no new navigation of the child's.
    bool m_bReloadingDiscarded = false;
    CSiteRequestDesk* m_pDesk = nullptr;
};

// One tab's page view. Title, progress, finished loads and address changes are
// reported with the view, so the owner can pass on only those of the active page.
class CIEView : public QWebEngineView
{
    Q_OBJECT

public:
    explicit CIEView(QWidget* parent = nullptr);
    ~CIEView() override;

    // Who opens the new tab when a page asks for a new window; it returns the new view,
    // or nothing to refuse the window.
    using NewWindowHandler = std::function<CIEView*(CIEView* opener)>;
    void SetNewWindowHandler(NewWindowHandler handler) { m_newWindow = std::move(handler); }

    // Opens an address (as text, the way the child or the parents typed it).
    void Navigate(const QString& address);

    // The page's right-click menu less its entries that save files or show the
    // engine's insides; nothing else is changed.
    QMenu* CreateContextMenu();

    // Prints the page. The engine cannot end a print half way, so a view whose tab
    // closes while it prints is only hidden and goes once the print has finished.
    void Print(QPrinter* printer);
    bool IsPrinting() const { return m_bPrinting; }

    CIEPage* Page() const { return m_pPage; }
    const QString& PageTitle() const { return m_strPageTitle; }

    // Activation as the container reports it; the address box follows the active view.
    void SetActive(bool active) { m_bActive = active; }
    bool IsActive() const { return m_bActive; }

    // Puts the page to sleep, unloads it or wakes it (an unloaded page loads its address
    // again). The tab keeps its title, and the history its stay, throughout.
    void SetLifecycle(TabLifecycle::State state);
    TabLifecycle::State Lifecycle() const;
    bool IsLoading() const { return m_bLoading; }
    // Tick count when the view was last hidden.
    uint32_t HiddenSince() const { return m_dwHiddenSince; }
    void SetHiddenSince(uint32_t tick) { m_dwHiddenSince = tick; }

signals:
    void pageTitleChanged(CIEView* view, const QString& title);
    void pageProgress(CIEView* view, int percent);
    void pageLoaded(CIEView* view);
    void pageAddressChanged(CIEView* view, const QUrl& address);
    // Something the child tried was turned down (a program's link, a file chooser).
    void pageNotice(CIEView* view, const QString& text);
    // A load started or ended: the sleeping rules leave a loading page alone for a while.
    void pageLoadingChanged(CIEView* view);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Files dropped on a page would hand their contents to it: only what is not a
    // local file may be dropped.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class CIEPage;
    void openWindowFor(const QUrl& address);
    void setPageTitle(const QString& title);

    CIEPage* m_pPage;
    QString m_strPageTitle;
    bool m_bActive = false;
    bool m_bPrinting = false;
    bool m_bLoading = false;
    // The tab's title stays through an unload until the page has loaded again.
    bool m_bKeepTitle = false;
    uint32_t m_dwHiddenSince = 0;
    NewWindowHandler m_newWindow;
};

// The texts the child sees on the status bar when something is turned down.
namespace PageNotice {
extern const char kExternal[];
extern const char kFileChooser[];
extern const char kDownload[];
} // namespace PageNotice
