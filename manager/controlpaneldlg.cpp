#include "controlpaneldlg.h"

#include "aboutpropage.h"
#include "coolgroupbox.h"
#include "cooltabbutton.h"
#include "dlgitem.h"
#include "historypropertypage.h"
#include "mainpropertypage.h"
#include "managerart.h"
#include "managerids.h"
#include "parentrecommentpropertypage.h"
#include "passwordpropertypage.h"
#include "quenlitbitmaps.h"
#include "timecontrolpropertypage.h"

#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr int kButtonLeft = 12;
constexpr int kButtonTop = 8;
constexpr QSize kButtonSize(88, 80);
} // namespace

const std::array<CControlPanelDlg::PageButton, CControlPanelDlg::PageCount>& CControlPanelDlg::PageButtons()
{
    static const std::array<PageButton, PageCount> buttons = {{
        {ManagerId::kGeneralButton, "常规控制", QuenlitBitmap::IconGeneral, General},
        {ManagerId::kTimeButton, "时间限制", QuenlitBitmap::IconTime, TimeLimit},
        {ManagerId::kPasswordButton, "修改密码", QuenlitBitmap::IconPassword, Password},
        {ManagerId::kRecommendButton, "家长推荐", QuenlitBitmap::IconRecommend, Recommend},
        {ManagerId::kHistoryButton, "上网记录", QuenlitBitmap::IconHistory, History},
        {ManagerId::kAboutButton, "关于我们", QuenlitBitmap::IconAbout, About},
    }};
    return buttons;
}

QRect CControlPanelDlg::PageAreaRect()
{
    return QRect(12, 100, kClientSize.width() - 24, kClientSize.height() - 112);
}

CControlPanelDlg::CControlPanelDlg(CConfigManager& config, QWidget* pParent)
    : CBeautifulDialog(pParent)
{
    SetTitleButtons(true, false, true);
    SetWindowTextA(QStringLiteral("家长管理控制面板"));
    SetIcon(ManagerIcon(), true);
    SetClientSize(kClientSize);

    for (int i = 0; i < PageCount; ++i) {
        const PageButton& b = PageButtons()[i];
        auto* button = new CCoolTabButton(this);
        SetDlgCtrlID(button, b.ctrlId);
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
    auto* area = new CCoolGroupBox(this);
    SetDlgCtrlID(area, ManagerId::kPageArea);
    PlaceInClient(area, PageAreaRect());
    const QRect pageRect = area->geometry();
    area->hide();

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
