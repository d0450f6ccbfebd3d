#pragma once

#include <pellora/beautifulframe.h>
#include <pellora/sizingcontrolbar.h>

#include <QBasicTimer>

#include <cstdint>
#include <functional>
#include <memory>

class CContainerView;
class CControlToolBar;
class CFavoritesDatabase;
class CIEView;
class CTabContainerBar;
class CWindDownNotice;
class CWorkspaceBar;
class QPrinter;
class QUrl;

namespace Pellora {
class CCoolStatusBar;
}

// The browser's one window: captionless, above every other window and covering the
// whole screen, with the control toolbar and the tab strip at the top, the pages in
// between and the status bar at the bottom; the side bar "工作区" docks at the left of
// the pages. It carries out the commands of its bars.
class CMainFrame : public Pellora::CBeautifulFrame
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The first page at start-up: a tab captioned "请稍候...." opening the home page.
    void OpenFirstPage();
    // A new tab, made active, opening `address`; the new view, or nothing.
    CIEView* OpenInNewTab(const QString& address, const QString& caption);
    void OnCommand(int commandId);
    // Opens the address box's text in the active page.
    void OnAddressEntered();
    // Prints the active page on `printer` (the print command asks for one first).
    void PrintActivePage(QPrinter* printer);
    // The print command: the printer the parents set up, chosen in the print dialog
    // (never a file the child names), or without a printer a PDF in the browser's own
    // print folder under a fresh name.
    void PrintActivePageSafely();
    // A short message on the status bar for the child.
    void ShowNotice(const QString& text);
    // Loads a skin file (or re-applies the loaded skin) and hands it to every bar, the
    // status bar and the side bar, and repaints them.
    void ApplySkin(const QString& skinFile = QString());
    // The skin command: the skin dialog, with the frame busy while it is open.
    void ShowSkinDialog();
    // The favorites command: the active tab's title and the address box's text, named and
    // put in a category in "添加到收藏夹", become a favorite.
    void AddFavorite();
    // "⊙": shows the side bar when it is hidden, hides it when it shows.
    void ToggleWorkspaceBar();

    CContainerView* ContainerView() const { return m_pContainer; }
    CControlToolBar* ControlToolBar() const { return m_pToolBar; }
    CTabContainerBar* TabContainerBar() const { return m_pTabContainer; }
    CWorkspaceBar* WorkspaceBar() const { return m_pWorkspaceBar; }
    Pellora::CCoolStatusBar* StatusBar() const { return m_pStatusBar; }
    CIEView* ActivePage() const;

    // The frame's place: the whole screen and 3 pixels more to the right and below.
    static QRect FrameGeometry(const QRect& screen);

    // The time-limit check of every timer tick: tells the child as the end nears, and
    // locks once the allowance is used up.
    void OnTimeLimitTick();
    CWindDownNotice* WindDownNotice() const { return m_pWindDownNotice; }

    // True while a dialog of the frame's own is open; the time lock waits for it.
    bool IsModalBusy() const { return m_bModalBusy; }
    bool IsTimeLimitRunning() const { return m_limitTimer.isActive(); }
    // True while the lock is up: every page is muted until the parents unlock.
    bool ArePagesSilenced() const { return m_bPagesSilenced; }
    uint32_t TimeAllowance() const { return m_dwAllowance; }

    // How the lock is shown: runs until the parents grant more minutes and returns them.
    using LockRunner = std::function<int()>;
    void SetLockRunner(LockRunner runner) { m_lockRunner = std::move(runner); }
    // How the exit password is asked: true when the right password was given.
    using ExitPrompt = std::function<bool()>;
    void SetExitPrompt(ExitPrompt prompt) { m_exitPrompt = std::move(prompt); }

signals:
    void printFinished(bool ok);

protected:
    // No menu of the frame's bars: what the child may show or hide has its own button.
    QMenu* createPopupMenu() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    static QString shownAddress(const QUrl& url);
    void wireView(CIEView* view);
    void closeTab(int index, QWidget* page);
    void exitWithPasswordCheck();
    void silencePages(bool silent);
    void createWorkspaceBar();
    void updateWorkspaceButton();

    CControlToolBar* m_pToolBar;
    CTabContainerBar* m_pTabContainer;
    CContainerView* m_pContainer;
    Pellora::CCoolStatusBar* m_pStatusBar;
    std::unique_ptr<CFavoritesDatabase> m_pFavorStore;
    CWorkspaceBar* m_pWorkspaceBar = nullptr;
    Pellora::BarSizes m_loadedBarSizes;
    bool m_bCloseAllowed = false;
    bool m_bModalBusy = false;
    bool m_bPagesSilenced = false;
    uint32_t m_dwLimitStartTick = 0;
    uint32_t m_dwAllowance = 0;
    int m_nLastWindDownNotice = 0; // of this allowance
    CWindDownNotice* m_pWindDownNotice;
    QBasicTimer m_limitTimer;
    LockRunner m_lockRunner;
    ExitPrompt m_exitPrompt;
};
