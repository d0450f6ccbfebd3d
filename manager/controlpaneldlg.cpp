#include "controlpaneldlg.h"

#include "aboutpropage.h"
#include "configmanager.h"
#include "historypropertypage.h"
#include "mainpropertypage.h"
#include "managerart.h"
#include "managerids.h"
#include "messagebox.h"
#include "parentrecommentpropertypage.h"
#include "passwordpropertypage.h"
#include "settingsrules.h"
#include "timecontrolpropertypage.h"

#include <quenlit/coolgroupbox.h>
#include <quenlit/cooltabbutton.h>
#include <quenlit/flatedit.h>
#include <quenlit/quenlitbitmaps.h>
#include <quenlit/radiobox.h>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

using Quenlit::CBeautifulDialog;
using Quenlit::CCoolGroupBox;
using Quenlit::CCoolTabButton;
namespace Bitmap = Quenlit::Bitmap;

namespace {
constexpr int kButtonLeft = 12;
constexpr int kButtonTop = 8;
constexpr QSize kButtonSize(88, 80);
} // namespace

const std::array<CControlPanelDlg::PageButton, CControlPanelDlg::PageCount>& CControlPanelDlg::PageButtons()
{
    static const std::array<PageButton, PageCount> buttons = {{
        {ManagerId::kGeneralButton, "常规控制", Bitmap::IconGeneral, General},
        {ManagerId::kTimeButton, "时间限制", Bitmap::IconTime, TimeLimit},
        {ManagerId::kPasswordButton, "修改密码", Bitmap::IconPassword, Password},
        {ManagerId::kRecommendButton, "家长推荐", Bitmap::IconRecommend, Recommend},
        {ManagerId::kHistoryButton, "上网记录", Bitmap::IconHistory, History},
        {ManagerId::kAboutButton, "关于我们", Bitmap::IconAbout, About},
    }};
    return buttons;
}

QRect CControlPanelDlg::PageAreaRect()
{
    return QRect(12, 100, kClientSize.width() - 24, kClientSize.height() - 112);
}

CControlPanelDlg::CControlPanelDlg(CConfigManager& config, QWidget* pParent)
    : CBeautifulDialog(pParent)
    , m_config(config)
{
    SetTitleButtons(true, false, true);
    SetWindowTextA(QStringLiteral("家长管理控制面板"));
    SetIcon(ManagerIcon(), true);
    SetClientSize(kClientSize);

    for (int i = 0; i < PageCount; ++i) {
        const PageButton& b = PageButtons()[i];
        auto* button = new CCoolTabButton(this);
        button->setText(QString::fromUtf8(b.text));
        button->SetBmpID(b.bmpId);
        PlaceInClient(button, QRect(QPoint(kButtonLeft + i * kButtonSize.width(), kButtonTop), kButtonSize));
        m_buttons[i] = button;
        // The page follows the button as soon as it is pressed, as its checked look does.
        connect(button, &QAbstractButton::pressed, this, [this, page = b.page] { ShowPage(page); });
    }
    m_buttons[0]->SetCheck();
    m_buttons[PageCount - 1]->IsNeedDivision(false);

    // Control 1006 only marks where the pages go.
    m_groupPageArea = new CCoolGroupBox(this);
    PlaceInClient(m_groupPageArea, PageAreaRect());
    const QRect pageRect = m_groupPageArea->geometry();
    m_groupPageArea->hide();

    m_pageMain = new CMainPropertyPage(config, this);
    m_pageTime = new CTimeControlPropertyPage(config, this);
    m_pagePassword = new CPasswordPropertyPage(config, this);
    m_pageRecommend = new CParentRecommentPropertyPage(this);
    m_pageHistory = new CHistoryPropertyPage(this);
    m_pageAbout = new CAboutPropage(this);
    m_pages = {m_pageMain, m_pageTime, m_pagePassword, m_pageRecommend, m_pageHistory, m_pageAbout};
    for (CPanelPage* page : m_pages) {
        page->setGeometry(pageRect);
        page->hide();
    }
    ShowPage(General);
}

CControlPanelDlg::~CControlPanelDlg() = default;

void CControlPanelDlg::ShowPage(Page page)
{
    if (page < 0 || page >= PageCount)
        return;
    // One repaint for the whole switch.
    setUpdatesEnabled(false);
    m_pages[page]->show();
    for (int i = 0; i < PageCount; ++i) {
        if (i != page)
            m_pages[i]->hide();
    }
    m_current = page;
    setUpdatesEnabled(true);
}

void CControlPanelDlg::OnEraseBkgnd(QPainter& dc, const QRect& clientRect)
{
    dc.fillRect(clientRect, kManagerWindowBackground);
    const QImage band = LoadManagerBitmap(ManagerArt::PanelBand);
    if (!band.isNull())
        dc.drawImage(QRect(clientRect.topLeft(), QSize(clientRect.width(), band.height())), band);
}

void CControlPanelDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    default: CBeautifulDialog::keyPressEvent(event);
    }
}

QList<CControlPanelDlg::Page> CControlPanelDlg::PagesWithUnsavedChanges() const
{
    QList<Page> pages;
    if (m_pageMain->HasUnsavedChanges())
        pages << General;
    if (TimeLimitDiffers(m_config.m_record, m_pageTime->m_radioLimit->GetCheck() != 0,
                         m_pageTime->m_editMinutes->text()))
        pages << TimeLimit;
    // A password typed but not yet confirmed.
    if (!m_pagePassword->m_editCurrent->text().isEmpty() || !m_pagePassword->m_editNew->text().isEmpty()
        || !m_pagePassword->m_editAgain->text().isEmpty())
        pages << Password;
    return pages;
}

void CControlPanelDlg::closeEvent(QCloseEvent* event)
{
    const QList<Page> pending = PagesWithUnsavedChanges();
    if (!pending.isEmpty()) {
        QStringList names;
        for (Page page : pending)
            names << QStringLiteral("“%1”").arg(QString::fromUtf8(PageButtons()[page].text));
        const MsgResult answer =
            showMessage(this, QStringLiteral("%1页上的修改还没有保存,要保存吗?").arg(names.join(QStringLiteral("、"))),
                        QStringLiteral("询问"), MsgIcon::Question, MsgButtons::YesNo);
        if (answer == MsgResult::Yes) {
            for (Page page : pending) {
                const bool saved = page == General ? m_pageMain->OnSave()
                    : page == TimeLimit            ? m_pageTime->OnSave()
                                                   : m_pagePassword->OnChangePassword();
                if (!saved) {
                    // The parent has just been told why; the page shows what to mend.
                    ShowPage(page);
                    m_buttons[page]->SetCheck(); // the buttons stand in page order
                    event->ignore();
                    return;
                }
            }
        }
    }
    CBeautifulDialog::closeEvent(event);
}
