#include "mainframe.h"

#include "addfavordlg.h"
#include "browserconfig.h"
#include "browserids.h"
#include "browserlog.h"
#include "configmanager.h"
#include "containerview.h"
#include "controltoolbar.h"
#include "coolpngbutton.h"
#include "exitpassworddlg.h"
#include "favoritesstore.h"
#include "ieview.h"
#include "lockscreendlg.h"
#include "paths.h"
#include "previewskinselectdlg.h"
#include "printfiles.h"
#include "screencovers.h"
#include "tabcontainerbar.h"
#include "taskkeymanager.h"
#include "tickclock.h"
#include "timelimit.h"
#include "winddownnotice.h"
#include "workspacebar.h"

#include <pellora/coolcombobox.h>
#include <pellora/coolstatusbar.h>
#include <pellora/cooltabbar.h>
#include <pellora/surfacemanager.h>

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

using Pellora::CBeautifulFrame;
using Pellora::CCoolStatusBar;
using Pellora::CCoolTabBar;
using Pellora::CSizingControlBar;
using Pellora::CSurfaceManager;

namespace {

// The profile the side bar's sizes are kept under.
const char kBarProfile[] = "Lorvane";
// The caption of a tab opened from the favorites or the recommended sites.
const char kTreeTabCaption[] = "请稍候......";

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : CBeautifulFrame(parent, Qt::WindowStaysOnTopHint)
    , m_pToolBar(new CControlToolBar)
    , m_pTabContainer(new CTabContainerBar)
    , m_pContainer(new CContainerView)
    , m_pStatusBar(new CCoolStatusBar)
    , m_pFavorStore(std::make_unique<CFavoritesDatabase>())
    , m_pWindDownNotice(new CWindDownNotice(this))
{
    setWindowTitle(QStringLiteral("Lorvane"));
    // The two top bars span the whole width, above the side bar and the pages.
    auto* top = new QWidget(this);
    auto* layout = new QVBoxLayout(top);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pToolBar->setFixedHeight(m_pToolBar->sizeHint().height());
    m_pTabContainer->setFixedHeight(m_pTabContainer->sizeHint().height());
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pTabContainer);
    setMenuWidget(top);
    setCentralWidget(m_pContainer);
    setStatusBar(m_pStatusBar);
    createWorkspaceBar();
    m_pStatusBar->SetBackColor(CSurfaceManager::m_CoolTabCtrlBkColor);
    m_pStatusBar->SetFontColor(CSurfaceManager::m_StatusTextColor);
    m_pWorkspaceBar->ApplySkin();

    // Alt+F4 goes through the close command and so through its checks; only on the
    // frame itself, never from inside the lock or another dialog.
    auto* closeKey = new QAction(this);
    closeKey->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    closeKey->setShortcutContext(Qt::WindowShortcut);
    connect(closeKey, &QAction::triggered, this, [this] { OnCommand(BrowserIds::kCmdClose); });
    addAction(closeKey);

    connect(m_pToolBar, &CControlToolBar::command, this, &CMainFrame::OnCommand);
    connect(m_pToolBar, &CControlToolBar::addressEntered, this, &CMainFrame::OnAddressEntered);
    connect(m_pTabContainer, &CTabContainerBar::command, this, &CMainFrame::OnCommand);
    CCoolTabBar* tabs = m_pTabContainer->TabBar();
    connect(tabs, &CCoolTabBar::tabActivated, this, [this, tabs](int, CCoolTabBar::CPageItem* item) {
        // A child walking the tabs with the arrow keys keeps the keyboard on the strip.
        if (item)
            m_pContainer->ActivateView(qobject_cast<CIEView*>(item->m_pWnd.data()), !tabs->hasFocus());
    });
    connect(tabs, &CCoolTabBar::tabCloseClicked, this, [this](int index, CCoolTabBar::CPageItem* item) {
        if (item)
            closeTab(index, item->m_pWnd.data());
    });
    connect(m_pContainer, &CContainerView::pageActivated, this,
            [this](CIEView* page) { m_pToolBar->SetAddressText(shownAddress(page->url())); });
    // Nothing is ever saved to the child's files, whatever a page or its menu asks.
    connect(QWebEngineProfile::defaultProfile(), &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* download) {
                qCWarning(lcBrowser) << "refused a download of" << download->url().toString();
                download->cancel();
                ShowNotice(QString::fromUtf8(PageNotice::kDownload));
            });

    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(FrameGeometry(screen->geometry()));
    // The kiosk compositor spreads the frame over every monitor itself; a cover there
    // would be one more full-screen window, stacked over the frame.
    if (CTaskKeyManager::CurrentGuard() != CTaskKeyManager::KeyGuard::Kiosk)
        new CScreenCovers(this);

    m_lockRunner = [this] {
        CLockScreenDlg lock(this);
        lock.exec();
        return lock.GrantedMinutes();
    };
    m_exitPrompt = [this] {
        CExitPasswordDlg dialog(this);
        return dialog.exec() == QDialog::Accepted;
    };
    // The allowance counts from here; a limit switched on later waits for the next start.
    const ConfigRecord& rules = BrowserConfig().m_record;
    if (rules.m_bLimitTime != 0) {
        m_dwLimitStartTick = TickClock::now();
        m_dwAllowance = TimeLimit::AllowanceMs(rules.m_nLimitMinutes);
        m_limitTimer.start(1000, this);
    }
}

CMainFrame::~CMainFrame()
{
    // Only sizes the child changed are written: a run that never touched the bar leaves
    // the profile as it was.
    if (m_pWorkspaceBar->Sizes() != m_loadedBarSizes)
        CSizingControlBar::GlobalSaveState(this, QString::fromUtf8(kBarProfile));
    // The bar uses the favorites store, which goes before the frame's children do.
    delete m_pWorkspaceBar;
}

void CMainFrame::createWorkspaceBar()
{
    m_pWorkspaceBar = new CWorkspaceBar(m_pFavorStore.get(), this);
    m_pWorkspaceBar->Create(this);
    m_pWorkspaceBar->SetupImages();
    m_pWorkspaceBar->FillTrees();
    CSizingControlBar::GlobalLoadState(this, QString::fromUtf8(kBarProfile));
    m_loadedBarSizes = m_pWorkspaceBar->Sizes();
    connect(m_pWorkspaceBar, &CWorkspaceBar::openAddress, this,
            [this](const QString& address) { OpenInNewTab(address, QString::fromUtf8(kTreeTabCaption)); });
    connect(m_pWorkspaceBar, &CWorkspaceBar::command, this, &CMainFrame::OnCommand);
    connect(m_pWorkspaceBar, &CWorkspaceBar::notice, this, &CMainFrame::ShowNotice);
    connect(m_pWorkspaceBar, &QDockWidget::visibilityChanged, this, &CMainFrame::updateWorkspaceButton);
    updateWorkspaceButton();
}

void CMainFrame::updateWorkspaceButton()
{
    m_pTabContainer->WorkspaceButton()->setChecked(!m_pWorkspaceBar->isHidden());
}

void CMainFrame::ToggleWorkspaceBar()
{
    m_pWorkspaceBar->setVisible(m_pWorkspaceBar->isHidden());
    updateWorkspaceButton();
}

void CMainFrame::AddFavorite()
{
    const CCoolTabBar::CPageItem* tab = m_pTabContainer->TabBar()->GetActivePageItem();
    CAddFavorDlg dialog(tab ? tab->m_strText : QString(), m_pToolBar->AddressText(), m_pFavorStore.get(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_pWorkspaceBar->AddFavorite(dialog.Name(), dialog.Url(), dialog.Category());
}

QMenu* CMainFrame::createPopupMenu()
{
    return nullptr;
}

QRect CMainFrame::FrameGeometry(const QRect& screen)
{
    return QRect(screen.x(), screen.y(), screen.width() + 3, screen.height() + 3);
}

QString CMainFrame::shownAddress(const QUrl& url)
{
    // A blank page has no address worth showing: the box stays empty for typing.
    if (url.isEmpty() || url.toString() == QLatin1String("about:blank"))
        return QString();
    return url.toString();
}

CIEView* CMainFrame::ActivePage() const
{
    return m_pContainer->ActivePage();
}

void CMainFrame::wireView(CIEView* view)
{
    connect(view, &CIEView::pageTitleChanged, this, [this](CIEView* v, const QString& title) {
        m_pTabContainer->TabBar()->SetTabItemText(v, title);
    });
    connect(view, &CIEView::pageProgress, this, [this](CIEView* v, int percent) {
        if (v != ActivePage() || percent >= 100)
            return;
        m_pStatusBar->ShowProgress();
        m_pStatusBar->SetProgressMax(100);
        m_pStatusBar->SetProgressMin(0);
        m_pStatusBar->SetProgressPos(qint16(percent));
    });
    connect(view, &CIEView::pageLoaded, this, [this](CIEView* v) {
        if (v == ActivePage())
            m_pStatusBar->HideProgress();
    });
    connect(view, &CIEView::pageAddressChanged, this, [this](CIEView* v, const QUrl& url) {
        m_pToolBar->RememberAddress(url.toString());
        if (!v->IsActive())
            return;
        const QString shown = shownAddress(url);
        // A blank page arriving late must not wipe out what the child has begun to type.
        if (shown.isEmpty() && m_pToolBar->AddressBox()->lineEdit()->hasFocus())
            return;
        m_pToolBar->SetAddressText(shown);
    });
    connect(view, &CIEView::pageNotice, this, [this](CIEView*, const QString& text) { ShowNotice(text); });
    connect(view, &QWebEngineView::printRequested, this, [this, view] {
        if (view == ActivePage())
            PrintActivePageSafely();
    });
    if (m_bPagesSilenced)
        view->page()->setAudioMuted(true);
    view->SetNewWindowHandler([this](CIEView*) {
        CIEView* v = m_pContainer->CreateView();
        wireView(v);
        m_pTabContainer->TabBar()->AddPage(v, QStringLiteral("请稍候..."));
        return v;
    });
}

CIEView* CMainFrame::OpenInNewTab(const QString& address, const QString& caption)
{
    CIEView* view = m_pContainer->CreateView();
    if (!view)
        return nullptr;
    wireView(view);
    m_pTabContainer->TabBar()->AddPage(view, caption);
    view->Navigate(address);
    return view;
}

void CMainFrame::OpenFirstPage()
{
    OpenInNewTab(QString::fromUtf8(BrowserConfig().m_record.m_szHomePage), QStringLiteral("请稍候...."));
}

void CMainFrame::closeTab(int index, QWidget* page)
{
    CCoolTabBar* tabs = m_pTabContainer->TabBar();
    if (!tabs->IsCanClose() || !page)
        return;
    // The tab bar frees its item while it closes the tab: keep the page first.
    auto* view = qobject_cast<CIEView*>(page);
    if (tabs->CloseTabButtonByIndex(index))
        m_pContainer->RemoveView(view);
}

void CMainFrame::OnCommand(int commandId)
{
    CIEView* page = ActivePage();
    switch (commandId) {
    case BrowserIds::kCmdClose:
        exitWithPasswordCheck();
        break;
    case BrowserIds::kCmdHome:
        OpenInNewTab(QString::fromUtf8(BrowserConfig().m_record.m_szHomePage), QStringLiteral("请稍候..."));
        break;
    case BrowserIds::kCmdNewBlankTab:
        // The child's next keys go straight into an empty address box.
        if (OpenInNewTab(QStringLiteral("about:blank"), QStringLiteral("空白页"))) {
            m_pToolBar->SetAddressText(QString());
            m_pToolBar->AddressBox()->lineEdit()->setFocus(Qt::OtherFocusReason);
        }
        break;
    case BrowserIds::kCmdBack:
        if (page)
            page->triggerPageAction(QWebEnginePage::Back);
        break;
    case BrowserIds::kCmdForward:
        if (page)
            page->triggerPageAction(QWebEnginePage::Forward);
        break;
    case BrowserIds::kCmdRefresh:
        if (page)
            page->triggerPageAction(QWebEnginePage::Reload);
        break;
    case BrowserIds::kCmdStop:
        if (page)
            page->triggerPageAction(QWebEnginePage::Stop);
        break;
    case BrowserIds::kCmdPrint:
        if (page)
            PrintActivePageSafely();
        break;
    case BrowserIds::kCmdAddFavor:
        AddFavorite();
        break;
    case BrowserIds::kCmdToggleWorkspace:
        ToggleWorkspaceBar();
        break;
    case BrowserIds::kCmdSkin:
        ShowSkinDialog();
        break;
    case BrowserIds::kCmdFavorOpen:
    case BrowserIds::kCmdFavorDelete:
    case BrowserIds::kCmdFavorDeleteClass:
        m_pWorkspaceBar->OnFavorCommand(commandId);
        break;
    default:
        break;
    }
}

void CMainFrame::PrintActivePage(QPrinter* printer)
{
    CIEView* page = ActivePage();
    if (!page) {
        delete printer;
        emit printFinished(false);
        return;
    }
    // The printer has to outlive the page's printing, which ends later; the page view
    // itself stays until then, even when its tab is closed first.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(page, &QWebEngineView::printFinished, this, [this, printer, connection](bool ok) {
        disconnect(*connection);
        if (!ok) {
            const bool toFile = printer->outputFormat() == QPrinter::PdfFormat;
            qCWarning(lcBrowser) << "the page could not be printed on"
                                 << (toFile ? printer->outputFileName() : printer->printerName());
        }
        delete printer;
        emit printFinished(ok);
    });
    page->Print(printer);
}

void CMainFrame::PrintActivePageSafely()
{
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        auto* printer = new QPrinter(QPrinter::HighResolution);
        QPrintDialog dialog(printer, this);
        // A file the child names could be any file of theirs or the parents'.
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        if (dialog.exec() == QDialog::Accepted && printer->outputFileName().isEmpty())
            PrintActivePage(printer);
        else
            delete printer;
        return;
    }
    const QString file = PrintFiles::ClaimFreshFile(GetPrintDirectory(), QDateTime::currentDateTime());
    if (file.isEmpty()) {
        ShowNotice(QStringLiteral("没能打印这个网页。"));
        emit printFinished(false);
        return;
    }
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    PrintActivePage(printer);
    ShowNotice(QStringLiteral("没有打印机，网页已经保存在 ") + file);
}

void CMainFrame::ShowNotice(const QString& text)
{
    constexpr int kNoticeMs = 8000;
    m_pStatusBar->showMessage(text, kNoticeMs);
}

void CMainFrame::silencePages(bool silent)
{
    m_bPagesSilenced = silent;
    for (CIEView* view : m_pContainer->Pages())
        view->page()->setAudioMuted(silent);
}

void CMainFrame::exitWithPasswordCheck()
{
    m_bModalBusy = true;
    if (BrowserConfig().m_record.m_bExitNeedPassword == 0 || m_exitPrompt()) {
        m_bCloseAllowed = true;
        close();
    }
    m_bModalBusy = false;
}

void CMainFrame::OnTimeLimitTick()
{
    const int limitSwitch = BrowserConfig().m_record.m_bLimitTime;
    const uint32_t now = TickClock::now();
    const TimeLimit::WindDown windDown =
        TimeLimit::WindDownAt(limitSwitch, now, m_dwLimitStartTick, m_dwAllowance, m_nLastWindDownNotice);
    m_pStatusBar->SetTimeLeftText(windDown.minutesLeft > 0
                                      ? QStringLiteral("还能上网%1分钟").arg(windDown.minutesLeft)
                                      : QString());
    if (windDown.notice != 0) {
        m_nLastWindDownNotice = windDown.notice;
        m_pWindDownNotice->ShowFor(windDown.notice, m_pContainer->geometry());
    }
    if (!TimeLimit::ShouldLock(limitSwitch, now, m_dwLimitStartTick, m_dwAllowance, m_bModalBusy))
        return;
    m_pWindDownNotice->hide();
    m_bModalBusy = true;
    silencePages(true);
    const int minutes = m_lockRunner();
    silencePages(false);
    m_dwLimitStartTick = TickClock::now();
    m_bModalBusy = false;
    m_dwAllowance = TimeLimit::AllowanceMs(minutes);
    m_nLastWindDownNotice = 0;
}

void CMainFrame::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_limitTimer.timerId())
        OnTimeLimitTick();
    CBeautifulFrame::timerEvent(event);
}

void CMainFrame::OnAddressEntered()
{
    if (CIEView* page = ActivePage())
        page->Navigate(m_pToolBar->AddressText());
}

void CMainFrame::ApplySkin(const QString& skinFile)
{
    // The file is read once here; the bars re-apply what was loaded.
    if (!skinFile.isEmpty())
        CSurfaceManager::LoadFromFile(skinFile);
    m_pToolBar->ApplySkin();
    m_pTabContainer->ApplySkin();
    m_pWorkspaceBar->ApplySkin();
    m_pStatusBar->SetBackColor(CSurfaceManager::m_CoolTabCtrlBkColor);
    m_pStatusBar->SetFontColor(CSurfaceManager::m_StatusTextColor);
    update();
    if (CIEView* page = ActivePage())
        m_pContainer->ActivateView(page);
}

void CMainFrame::ShowSkinDialog()
{
    m_bModalBusy = true;
    CPreviewSkinSelectDlg dialog(this);
    connect(&dialog, &CPreviewSkinSelectDlg::skinChanged, this, [this](const QString& definition) {
        ApplySkin(definition);
    });
    dialog.exec();
    m_bModalBusy = false;
    if (dialog.SkinRefused())
        ShowNotice(QStringLiteral("这个皮肤坏掉了，换一个试试吧。"));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Only the close command ends the browser; a window manager's close does nothing.
    if (!m_bCloseAllowed) {
        event->ignore();
        return;
    }
    CBeautifulFrame::closeEvent(event);
}

void CMainFrame::showEvent(QShowEvent* event)
{
    CBeautifulFrame::showEvent(event);
    raise();
    // A floating side bar is one of the frame's windows: it stays above the frame.
    if (m_pWorkspaceBar && m_pWorkspaceBar->isFloating() && m_pWorkspaceBar->isVisible())
        m_pWorkspaceBar->raise();
}
