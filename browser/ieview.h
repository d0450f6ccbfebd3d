#pragma once

#include "stayrecorder.h"

#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

class CIEView;

// The page of one tab: it decides which top-level addresses may open (frames are
// neither checked nor recorded), sends refused ones to the warning page, records every
// stay in the history and hands new windows to its view.
class CIEPage : public QWebEnginePage
{
    Q_OBJECT

public:
    CIEPage(QWebEngineProfile* profile, CIEView* view);
    ~CIEPage() override;

    // Ends the stay on the current page (a history row), once.
    void RecordLastStay();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    CIEView* m_pView;
    StayRecorder m_stays;
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

    CIEPage* Page() const { return m_pPage; }
    const QString& PageTitle() const { return m_strPageTitle; }

    // Activation as the container reports it; the address box follows the active view.
    void SetActive(bool active) { m_bActive = active; }
    bool IsActive() const { return m_bActive; }

signals:
    void pageTitleChanged(CIEView* view, const QString& title);
    void pageProgress(CIEView* view, int percent);
    void pageLoaded(CIEView* view);
    void pageAddressChanged(CIEView* view, const QUrl& address);

private:
    friend class CIEPage;
    CIEView* openNewWindow();

    CIEPage* m_pPage;
    QString m_strPageTitle;
    bool m_bActive = false;
    NewWindowHandler m_newWindow;
};

// How a typed address is opened: text that names no scheme becomes a web address
// ("example.org" opens http://example.org), everything else opens as given.
QUrl AddressToUrl(const QString& typed);
