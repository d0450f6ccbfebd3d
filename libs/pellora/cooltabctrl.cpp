#include "cooltabctrl.h"

#include "colorref.h"
#include "skinlog.h"
#include "skinpaint.h"
#include "surfacemanager.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QTimerEvent>

namespace Pellora {

namespace {

constexpr int kTabInset = 5;
constexpr int kIconLeft = 12;
constexpr int kIconSize = 16;

bool changesDirection(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void loadSet(QPixmap* set, const QString& left, const QString& middle, const QString& right)
{
    set[0] = LoadSkinBitmap(left);
    set[1] = LoadSkinBitmap(middle);
    set[2] = LoadSkinBitmap(right);
}

} // namespace

CCoolTabCtrl::CPageItem::CPageItem(CCoolTabCtrl* owner)
    : m_pOwner(owner)
{
}

QString CCoolTabCtrl::CPageItem::GetShownText() const
{
    // A caption must read in the order it was written, like every list of addresses
    // the child sees.
    QString shown;
    shown.reserve(m_strText.size());
    for (const QChar c : m_strText) {
        if (changesDirection(c.unicode()))
            shown += QStringLiteral("<U+%1>").arg(uint(c.unicode()), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

int CCoolTabCtrl::CPageItem::GetAreaWidth(const QFontMetrics& metrics) const
{
    return TabCtrlNaturalWidth(metrics.horizontalAdvance(GetShownText()), !m_hIcon.isNull());
}

void CCoolTabCtrl::CPageItem::Draw(QPainter& painter, unsigned style, bool active) const
{
    if (TabCtrlTabsAtBottom(style))
        return;
    if (active)
        DrawActiveTabButton(painter);
    else
        DrawNormalTabButton(painter);
}

void CCoolTabCtrl::CPageItem::DrawNormalTabButton(QPainter& painter) const
{
    drawButton(painter, false);
}

void CCoolTabCtrl::CPageItem::DrawActiveTabButton(QPainter& painter) const
{
    drawButton(painter, true);
}

void CCoolTabCtrl::CPageItem::drawButton(QPainter& painter, bool active) const
{
    const QRect r = m_rect;
    if (r.isEmpty())
        return;
    painter.save();
    painter.setClipRect(r);
    const QPixmap* set = active ? m_pOwner->m_bmpActive : m_pOwner->m_bmpNormal;
    if (set[0].isNull() && set[1].isNull() && set[2].isNull()) {
        // Without its pictures a tab still shows where it is and which one is active.
        const QPalette& pal = m_pOwner->palette();
        QPainterPath shape;
        shape.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, 4), 4, 4);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(pal.color(QPalette::Mid));
        painter.setBrush(active ? pal.base() : pal.button());
        painter.drawPath(shape);
        painter.setRenderHint(QPainter::Antialiasing, false);
    } else {
        DrawThreePiece(painter, r, kTabInset, set[0], set[1], set[2]);
    }

    const QRect caption = TabCtrlCaptionRect(r);
    if (!m_hIcon.isNull()) {
        const int y = caption.center().y() - kIconSize / 2 + 1;
        m_hIcon.paint(&painter, QRect(r.left() + kIconLeft, y, kIconSize, kIconSize));
    }
    if (caption.width() > 0) {
        const QFont font = m_pOwner->captionFont();
        painter.setFont(font);
        painter.setPen(ColorRefToQColor(active ? CSurfaceManager::m_TabActiveTextColor
                                               : CSurfaceManager::m_TabNormalTextColor));
        const QString text = QFontMetrics(font).elidedText(GetShownText(), Qt::ElideRight, caption.width());
        // The caption band is lower than the font; it may reach into the margins
        // above and below, never past the tab.
        painter.drawText(caption,
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip
                             | Qt::TextForceLeftToRight,
                         text);
    }
    painter.restore();
}

CCoolTabCtrl::CCoolTabCtrl(QWidget* parent)
    : QWidget(parent)
    , m_crBackColor(MakeColorRef(38, 89, 140))
    , m_crBorderColor(MakeColorRef(111, 33, 0))
{
    // "宋体" as the skins ask; fontconfig picks the CJK face installed in its place.
    m_font.setFamily(QStringLiteral("宋体"));
    m_font.setPixelSize(12);
    m_font.setWeight(QFont::Normal);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CCoolTabCtrl::~CCoolTabCtrl()
{
    m_animationTimer.stop();
    for (CPageItem* item : m_listPages) {
        if (item->m_nStyle == CPageItem::kCreatedWindow)
            delete item->m_pWnd.data();
    }
    qDeleteAll(m_listPages);
}

bool CCoolTabCtrl::Create(unsigned style, const QRect& rect, QWidget* parent, int id)
{
    const unsigned tabStyle = style & 0xfu;
    m_nStyle = tabStyle ? tabStyle : kTabStyleTop;
    if (parent != parentWidget())
        setParent(parent);
    setGeometry(rect);
    setObjectName(QString::number(id));
    setVisible((style & kTabCtrlVisible) != 0);
    return true;
}

QFont CCoolTabCtrl::captionFont() const
{
    QFont f = QWidget::font();
    f.setPointSizeF(9.5);
    return f;
}

QList<int> CCoolTabCtrl::naturalWidths() const
{
    const QFontMetrics fm(m_font);
    QList<int> widths;
    widths.reserve(m_listPages.size());
    for (const CPageItem* item : m_listPages)
        widths.append(item->GetAreaWidth(fm));
    return widths;
}

TabCtrlLayout CCoolTabCtrl::Layout() const
{
    return LayoutTabCtrl(rect(), m_nStyle, m_nBorder, naturalWidths());
}

QRect CCoolTabCtrl::GetClientRect() const
{
    return TabCtrlPageArea(rect(), m_nStyle);
}

CCoolTabCtrl::CPageItem* CCoolTabCtrl::AddPage(QWidget* page, const QString& text, const QIcon& icon)
{
    if (!page) {
        qCWarning(lcSkin) << "a tab page without a window is not added:" << text;
        return nullptr;
    }
    if (page->parentWidget() != this)
        page->setParent(this);
    auto* item = new CPageItem(this);
    item->m_pWnd = page;
    item->m_strText = text;
    item->m_hIcon = icon;
    m_listPages.append(item);
    AutoSize();
    if (GetPageCount() - 1 != m_nActivePage)
        page->hide();
    update();
    return item;
}

int CCoolTabCtrl::AddCreatedPage(const std::function<QWidget*(QWidget* parent)>& create, const QString& text,
                                 const QIcon& icon)
{
    QWidget* page = create ? create(this) : nullptr;
    if (!page) {
        qCWarning(lcSkin) << "the tab page could not be created:" << text;
        return 0;
    }
    AddPage(page, text, icon)->SetPageStyle(CPageItem::kCreatedWindow);
    return 1;
}

CCoolTabCtrl::CPageItem* CCoolTabCtrl::GetPageItem(int index) const
{
    return index >= 0 && index < m_listPages.size() ? m_listPages.at(index) : nullptr;
}

void CCoolTabCtrl::AutoSize()
{
    if (m_listPages.isEmpty())
        return;
    const TabCtrlLayout layout = Layout();
    for (int i = 0; i < m_listPages.size(); ++i) {
        CPageItem* item = m_listPages.at(i);
        item->m_rect = layout.tabs.at(i);
        // The sliding page is placed by the animation until it ends.
        if (item->m_pWnd && item->m_pWnd != m_pSliding)
            item->m_pWnd->setGeometry(layout.pageWindow);
    }
    m_rcCloseButton = layout.closeButton;
}

void CCoolTabCtrl::UpdateWindow()
{
    AutoSize();
    const int index = m_nActivePage >= 0 ? m_nActivePage : 0;
    if (index != m_nActivePage) {
        SetActivePage(index);
    } else if (CPageItem* item = GetPageItem(index)) {
        // The active page may have been hidden by an activation that found no page.
        if (item->m_pWnd && item->m_pWnd != m_pSliding)
            item->m_pWnd->show();
    }
    update();
}

void CCoolTabCtrl::SetActivePage(int index)
{
    if (index == m_nActivePage)
        return;
    if (CPageItem* old = GetPageItem(m_nActivePage)) {
        if (old->m_pWnd == m_pSliding)
            finishAnimation();
        if (old->m_pWnd)
            old->m_pWnd->hide();
    }
    CPageItem* item = GetPageItem(index);
    if (!item) {
        update();
        return;
    }
    m_nActivePage = index;
    if (item->m_pWnd) {
        if (m_nStyle & kTabStyleAnimate) {
            if (IsAnimating())
                finishAnimation();
            m_pSliding = item->m_pWnd;
            m_nSlideFrame = 0;
            m_animationTimer.start(kTabCtrlAnimationPeriodMs, this);
        } else {
            item->m_pWnd->show();
        }
    }
    update();
    emit pageActivated(index);
}

void CCoolTabCtrl::AnimationStep()
{
    if (!IsAnimating())
        return;
    QWidget* page = m_pSliding;
    if (!page) {
        finishAnimation();
        return;
    }
    if (m_nSlideFrame >= kTabCtrlSlideSteps) {
        finishAnimation();
        return;
    }
    if (m_nSlideFrame == 0) {
        m_bDrawBackground = false;
        page->show();
    }
    page->setGeometry(TabCtrlSlideRect(GetClientRect(), m_nSlideFrame));
    ++m_nSlideFrame;
}

void CCoolTabCtrl::finishAnimation()
{
    m_animationTimer.stop();
    if (m_pSliding)
        m_pSliding->setGeometry(GetClientRect());
    m_pSliding = nullptr;
    m_nSlideFrame = 0;
    m_bDrawBackground = true;
    update();
}

void CCoolTabCtrl::SetStyle(unsigned style)
{
    m_nStyle = style;
    AutoSize();
    update();
}

void CCoolTabCtrl::SetStyleAnimate(bool animate)
{
    m_nStyle = animate ? (m_nStyle | kTabStyleAnimate) : (m_nStyle & ~kTabStyleAnimate);
}

void CCoolTabCtrl::SetStyleDirection(int direction)
{
    const unsigned side = direction == int(kTabStyleBottom) ? kTabStyleBottom : kTabStyleTop;
    SetStyle((m_nStyle & ~(kTabStyleTop | kTabStyleBottom)) | side);
}

void CCoolTabCtrl::SetStyleMonoSpace(bool monoSpace)
{
    SetStyle(monoSpace ? (m_nStyle | kTabStyleMonoSpace) : (m_nStyle & ~kTabStyleMonoSpace));
}

void CCoolTabCtrl::SetBackgroundColor(unsigned long colorRef)
{
    m_crBackColor = colorRef;
    update();
}

void CCoolTabCtrl::SetBorderColor(unsigned long colorRef)
{
    m_crBorderColor = colorRef;
    update();
}

void CCoolTabCtrl::SetTabPicture(const QString& leftNormal, const QString& middleNormal, const QString& rightNormal,
                                 const QString& leftActive, const QString& middleActive, const QString& rightActive)
{
    loadSet(m_bmpNormal, leftNormal, middleNormal, rightNormal);
    loadSet(m_bmpActive, leftActive, middleActive, rightActive);
    update();
}

void CCoolTabCtrl::SetCloseButtonPicture(const QString& path)
{
    m_bmpClose = LoadSkinBitmap(path);
    update();
}

void CCoolTabCtrl::DrawBackground(QPainter& painter) const
{
    painter.fillRect(rect(), ColorRefToQColor(m_crBackColor));
}

void CCoolTabCtrl::DrawFrame(QPainter& painter) const
{
    painter.save();
    painter.setPen(ColorRefToQColor(m_crBorderColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(GetClientRect().adjusted(0, 0, -1, -1));
    painter.restore();
}

void CCoolTabCtrl::DrawTabButton(QPainter& painter) const
{
    for (int i = 0; i < m_listPages.size(); ++i)
        m_listPages.at(i)->Draw(painter, m_nStyle, i == m_nActivePage);
}

void CCoolTabCtrl::DrawCloseButton(QPainter& painter) const
{
    const QRect r = m_rcCloseButton;
    if (r.isEmpty())
        return;
    if (!m_bmpClose.isNull()) {
        painter.drawPixmap(r, m_bmpClose);
        return;
    }
    // Without its picture the button is still a visible cross.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ColorRefToQColor(CSurfaceManager::m_TabActiveTextColor), 2));
    const QRectF c = QRectF(r).adjusted(3.5, 3.5, -3.5, -3.5);
    painter.drawLine(c.topLeft(), c.bottomRight());
    painter.drawLine(c.topRight(), c.bottomLeft());
    painter.restore();
}

void CCoolTabCtrl::paintEvent(QPaintEvent*)
{
    // Qt paints every widget into its back buffer and shows the result in one piece.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_bDrawBackground)
        DrawBackground(painter);
    if (!TabCtrlTabsAtBottom(m_nStyle))
        DrawTabButton(painter);
    DrawCloseButton(painter);
}

void CCoolTabCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Only a window is ever sized by the user dragging its edge; a control inside a bar
    // takes what the bar gives it.
    if (isWindow()) {
        const QSize wanted = TabCtrlSizeWhileSizing(event->size());
        if (wanted != event->size()) {
            resize(wanted);
            return;
        }
    }
    AutoSize();
    update();
}

void CCoolTabCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const TabCtrlHit hit = HitTestTabCtrl(Layout(), event->position().toPoint());
    switch (hit.kind) {
    case TabCtrlHit::Tab:
        SetActivePage(hit.index);
        update();
        break;
    case TabCtrlHit::CloseButton:
        emit closeButtonClicked();
        break;
    case TabCtrlHit::Nothing:
        break;
    }
    // A click on the control never reaches the bar beneath it (which would start
    // dragging the bar away).
    event->accept();
}

void CCoolTabCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

void CCoolTabCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_animationTimer.timerId())
        AnimationStep();
    else
        QWidget::timerEvent(event);
}

} // namespace Pellora
