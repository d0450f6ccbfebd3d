#include "cooltabbar.h"

#include "colorref.h"
#include "focuscue.h"
#include "skinpaint.h"
#include "surfacemanager.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QTimerEvent>

#include <cmath>

namespace Pellora {

namespace {

constexpr int kTabInset = 5;
// Windows timers of the same nominal 1 ms period tick about every 15 ms; a real 1 ms
// timer would make the strip race past faster than a child can follow.
constexpr int kScrollPeriodMs = 15;
const char kWidthCap[] = "1234567890abcdef";

} // namespace

CCoolTabBar::CPageItem::CPageItem(CCoolTabBar* owner)
    : m_pOwner(owner)
{
}

CCoolTabBar::CPageItem::~CPageItem() = default;

int CCoolTabBar::CPageItem::GetAreaWidth(const QFontMetricsF& metrics) const
{
    // The caption area is one pixel narrower than a measured width plus the padding;
    // measuring whole pixels up, plus that one, keeps a caption that fits from being
    // shortened.
    auto measure = [&metrics](const QString& text) { return int(std::ceil(metrics.horizontalAdvance(text))) + 1; };
    return TabWidthForText(measure(m_strText), measure(QLatin1String(kWidthCap)), measure(QStringLiteral("1")),
                           !m_hIcon.isNull());
}

QRect CCoolTabBar::CPageItem::GetCloseButtonRect(int offset) const
{
    return TabCloseButtonRect(m_rect.translated(-offset, 0));
}

QRect CCoolTabBar::CPageItem::GetTextArea(int offset) const
{
    return TabTextRect(m_rect.translated(-offset, 0), !m_hIcon.isNull());
}

QString CCoolTabBar::CPageItem::GetShownText() const
{
    const QFontMetrics fm(m_pOwner->tabFont());
    return fm.elidedText(m_strText, Qt::ElideRight, GetTextArea(0).width());
}

void CCoolTabBar::CPageItem::Draw(QPainter& painter, int offset) const
{
    if (m_nStatus == kActive)
        drawTab(painter, m_rect.translated(-offset, 0), true);
    else if (m_nStatus == kNormal)
        drawTab(painter, m_rect.translated(-offset, 0), false);
}

void CCoolTabBar::CPageItem::drawTab(QPainter& painter, const QRect& r, bool active) const
{
    const QPixmap* set = active ? m_pOwner->m_bmpActive : m_pOwner->m_bmpNormal;
    const QPalette& pal = m_pOwner->palette();
    if (set[0].isNull() && set[1].isNull() && set[2].isNull()) {
        // A skin without tab pictures still shows where each tab is.
        QPainterPath shape;
        shape.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, 4), 4, 4);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(pal.color(QPalette::Mid));
        painter.setBrush(active ? pal.base() : pal.button());
        painter.setClipRect(r);
        painter.drawPath(shape);
        painter.restore();
    } else {
        DrawThreePiece(painter, r, kTabInset, set[0], set[1], set[2]);
    }

    const bool hasIcon = !m_hIcon.isNull();
    if (hasIcon) {
        const int y = r.top() + (r.height() - 16) / 2;
        m_hIcon.paint(&painter, QRect(r.left() + 14, y, 16, 16));
    }
    const QRect text = TabTextRect(r, hasIcon);
    painter.setFont(m_pOwner->tabFont());
    painter.setPen(ColorRefToQColor(active ? CSurfaceManager::m_TabActiveTextColor
                                           : CSurfaceManager::m_TabNormalTextColor));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, GetShownText());

    const QRect close = ShownCloseButtonRect(r, m_pOwner->Geometry().tabArea);
    if (m_pOwner->IsCanClose() && !close.isEmpty()) {
        if (!m_pOwner->m_bmpClose.isNull()) {
            painter.drawPixmap(close, m_pOwner->m_bmpClose);
        } else {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(pal.color(QPalette::WindowText), 2));
            const QRectF c = QRectF(close).adjusted(4, 4, -4, -4);
            painter.drawLine(c.topLeft(), c.bottomRight());
            painter.drawLine(c.topRight(), c.bottomLeft());
            painter.restore();
        }
    }
}

CCoolTabBar::CCoolTabBar(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
}

CCoolTabBar::~CCoolTabBar()
{
    qDeleteAll(m_listPages);
}

QFont CCoolTabBar::tabFont() const
{
    QFont f = font();
    f.setPointSizeF(9.5);
    return f;
}

QList<int> CCoolTabBar::tabWidths() const
{
    // Measured with the font the captions are drawn in, so that a caption shorter than
    // the cap is shown whole.
    const QFontMetricsF fm(tabFont());
    QList<int> widths;
    widths.reserve(m_listPages.size());
    for (const CPageItem* item : m_listPages)
        widths.append(item->GetAreaWidth(fm));
    return widths;
}

TabBarGeometry CCoolTabBar::Geometry() const
{
    return LayoutTabBar(rect());
}

void CCoolTabBar::ResizeAllTab()
{
    const TabBarGeometry g = Geometry();
    m_rcTabArea = g.tabArea;
    m_rcBackButton = g.backButton;
    m_rcForwardButton = g.forwardButton;
    const QList<int> widths = tabWidths();
    int x = m_rcTabArea.left();
    for (int i = 0; i < m_listPages.size(); ++i) {
        m_listPages[i]->m_rect = QRect(x, m_rcTabArea.top(), widths.at(i), m_rcTabArea.height());
        x += widths.at(i);
    }
}

int CCoolTabBar::GetAllTabNeedWidth() const
{
    return TabsTotalWidth(tabWidths());
}

int CCoolTabBar::GetAllWidthFromIndex(int index) const
{
    return TabsWidthThrough(tabWidths(), index);
}

int CCoolTabBar::GetStartTabIndex() const
{
    return FirstVisibleTab(tabWidths(), m_nScrollOffset);
}

int CCoolTabBar::GetLastTabIndex() const
{
    return LastVisibleTab(tabWidths(), m_nScrollOffset, Geometry().tabArea.width());
}

bool CCoolTabBar::IsCanRollBack() const
{
    return CanRollBack(m_nScrollOffset);
}

bool CCoolTabBar::IsCanRollForwad() const
{
    return CanRollForward(tabWidths(), m_nScrollOffset, Geometry().tabArea.width());
}

CCoolTabBar::CPageItem* CCoolTabBar::GetPageItem(int index) const
{
    return index >= 0 && index < m_listPages.size() ? m_listPages.at(index) : nullptr;
}

CCoolTabBar::CPageItem* CCoolTabBar::GetPageItemByWnd(QWidget* page) const
{
    for (CPageItem* item : m_listPages) {
        if (item->m_pWnd == page)
            return item;
    }
    return nullptr;
}

CCoolTabBar::CPageItem* CCoolTabBar::GetActivePageItem() const
{
    for (CPageItem* item : m_listPages) {
        if (item->m_nStatus == kActive)
            return item;
    }
    return nullptr;
}

int CCoolTabBar::GetIndexOfItem(const CPageItem* item) const
{
    return int(m_listPages.indexOf(const_cast<CPageItem*>(item)));
}

int CCoolTabBar::AddPage(QWidget* page, const QString& text, const QIcon& icon)
{
    if (!page)
        return 0;
    auto* item = new CPageItem(this);
    item->m_pWnd = page;
    item->m_strText = text;
    item->m_hIcon = icon;
    m_listPages.append(item);
    const int index = int(m_listPages.size()) - 1;
    // An out-of-range activation recorded earlier may already name the new index; the
    // new tab must still become active and be reported.
    if (m_nActivePage == index)
        m_nActivePage = -1;
    SetActivePage(index);
    RollToIndex(index);
    return 1;
}

void CCoolTabBar::SetActivePage(int index)
{
    if (index == m_nActivePage)
        return;
    if (CPageItem* old = GetPageItem(m_nActivePage))
        old->m_nStatus = kNormal;
    CPageItem* item = GetPageItem(index);
    if (item)
        item->m_nStatus = kActive;
    m_nActivePage = index;
    update();
    emit tabActivated(index, item);
}

int CCoolTabBar::CloseTabButtonByIndex(int index)
{
    if (!IsCanClose())
        return 0;
    const TabClosePlan plan = PlanTabClose(GetPageCount(), m_nActivePage, index);
    if (!plan.closes)
        return 0;
    CPageItem* closing = m_listPages.at(index);
    CPageItem* announced = GetPageItem(plan.announceIndex);
    if (plan.switches) {
        closing->m_nStatus = kNormal;
        if (announced)
            announced->m_nStatus = kActive;
        // Closing the last tab moves the active index to its neighbour now; otherwise
        // it stays, as the right-hand neighbour takes over that index.
        m_nActivePage = plan.activeAfter;
    }
    const QPointer<CCoolTabBar> alive(this);
    emit tabActivated(plan.announceIndex, announced);
    if (!alive)
        return 0;
    // The owner may have changed the tabs while it was told; remove what is still there.
    const int at = GetIndexOfItem(closing);
    if (at < 0)
        return 0;
    m_listPages.removeAt(at);
    delete closing;
    m_nActivePage = plan.activeAfter;
    ResizeAllTab();
    m_nScrollOffset = OffsetAfterClose(tabWidths(), m_rcTabArea.width(), m_nScrollOffset);
    update();
    return 1;
}

void CCoolTabBar::SetTabItemText(QWidget* page, const QString& text)
{
    const bool activeWasShown = activeTabShown();
    for (CPageItem* item : m_listPages) {
        if (item->m_pWnd == page)
            item->m_strText = text;
    }
    ResizeAllTab();
    // A caption that grows (a new tab getting its page's title) must not push the tab the
    // child is on under the forward arrow.
    if (activeWasShown)
        m_nScrollOffset = OffsetToKeepTabInView(tabWidths(), m_nActivePage, m_rcTabArea.width(), m_nScrollOffset);
    update();
}

void CCoolTabBar::RollToIndex(int index)
{
    ResizeAllTab();
    m_nScrollOffset = OffsetToShowTab(tabWidths(), index, m_rcTabArea.width(), m_nScrollOffset);
    update();
}

QRect CCoolTabBar::VisibleTabRect(int index) const
{
    const CPageItem* item = GetPageItem(index);
    if (!item)
        return QRect();
    const QRect area = Geometry().tabArea;
    const QRect shifted = item->m_rect.translated(-m_nScrollOffset, 0);
    const int left = qMax(shifted.left(), area.left());
    const int right = qMin(shifted.left() + shifted.width(), area.left() + area.width());
    return right > left ? QRect(left, shifted.top(), right - left, shifted.height()) : QRect();
}

QRect CCoolTabBar::CloseButtonRect(int index) const
{
    const CPageItem* item = GetPageItem(index);
    return item && IsCanClose() ? ShownCloseButtonRect(item->m_rect.translated(-m_nScrollOffset, 0), Geometry().tabArea)
                                : QRect();
}

bool CCoolTabBar::activeTabShown() const
{
    // Against the area of the last layout, so that a resize can compare with before.
    const CPageItem* item = GetPageItem(m_nActivePage);
    if (!item)
        return false;
    const QRect shifted = item->m_rect.translated(-m_nScrollOffset, 0);
    return shifted.left() >= m_rcTabArea.left()
        && shifted.left() + shifted.width() <= m_rcTabArea.left() + m_rcTabArea.width();
}

CCoolTabBar::Hit CCoolTabBar::hitTest(const QPoint& pos, int* index) const
{
    const TabBarGeometry g = Geometry();
    if (g.backButton.contains(pos))
        return Hit::Back;
    if (g.forwardButton.contains(pos))
        return Hit::Forward;
    const int first = GetStartTabIndex();
    const int last = GetLastTabIndex();
    for (int i = qMax(0, first); i <= last && first >= 0; ++i) {
        if (!VisibleTabRect(i).contains(pos))
            continue;
        *index = i;
        return CloseButtonRect(i).contains(pos) ? Hit::Close : Hit::Tab;
    }
    return Hit::Nothing;
}

void CCoolTabBar::startScrolling(int step)
{
    m_bScrolling = true;
    m_nScrollStep = step;
    m_scrollTimer.start(kScrollPeriodMs, this);
}

void CCoolTabBar::stopScrolling()
{
    m_bScrolling = false;
    m_scrollTimer.stop();
}

void CCoolTabBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    ResizeAllTab();
    int index = -1;
    switch (hitTest(event->position().toPoint(), &index)) {
    case Hit::Back:
        startScrolling(-kTabScrollStep);
        emit tabScrollPressed();
        break;
    case Hit::Forward:
        startScrolling(kTabScrollStep);
        emit tabScrollPressed();
        break;
    case Hit::Tab:
        SetActivePage(index);
        break;
    case Hit::Close:
        // The owner decides; it closes the tab through CloseTabButtonByIndex, which
        // deletes the item, so nothing here touches it afterwards.
        emit tabCloseClicked(index, m_listPages.at(index));
        break;
    case Hit::Nothing:
        break;
    }
    event->accept();
}

void CCoolTabBar::mouseReleaseEvent(QMouseEvent* event)
{
    stopScrolling();
    QWidget::mouseReleaseEvent(event);
}

void CCoolTabBar::mouseMoveEvent(QMouseEvent* event)
{
    int index = -1;
    const Hit hit = hitTest(event->position().toPoint(), &index);
    if (hit != Hit::Back && hit != Hit::Forward)
        stopScrolling();
    if (hit == Hit::Back || hit == Hit::Forward || hit == Hit::Tab)
        setCursor(LinkCursor());
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

void CCoolTabBar::leaveEvent(QEvent* event)
{
    stopScrolling();
    QWidget::leaveEvent(event);
}

void CCoolTabBar::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_scrollTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (!m_bScrolling) {
        m_scrollTimer.stop();
        return;
    }
    const ScrollTick tick =
        ScrollTickResult(tabWidths(), Geometry().tabArea.width(), m_nScrollOffset, m_nScrollStep);
    m_nScrollOffset = tick.offset;
    if (!tick.scrolling)
        stopScrolling();
    repaint();
}

void CCoolTabBar::keyPressEvent(QKeyEvent* event)
{
    const int target = event->modifiers() & ~Qt::KeypadModifier
                           ? -1
                           : TabIndexForKey(event->key(), m_nActivePage, GetPageCount());
    if (target < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    SetActivePage(target);
    ResizeAllTab();
    m_nScrollOffset = OffsetToKeepTabInView(tabWidths(), target, m_rcTabArea.width(), m_nScrollOffset);
    update();
    event->accept();
}

void CCoolTabBar::focusInEvent(QFocusEvent* event)
{
    m_bFocusCue = FocusCueAfterFocusIn(m_bFocusCue, event->reason());
    QWidget::focusInEvent(event);
    update();
}

void CCoolTabBar::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CCoolTabBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const bool activeWasShown = activeTabShown() || !event->oldSize().isValid();
    ResizeAllTab();
    // A strip that grew (or got its first real size after tabs were added) must not
    // leave its tabs scrolled out of view with room to spare; one that shrank keeps the
    // child's tab out from under the forward arrow.
    m_nScrollOffset = OffsetAfterClose(tabWidths(), m_rcTabArea.width(), m_nScrollOffset);
    if (activeWasShown)
        m_nScrollOffset = OffsetToKeepTabInView(tabWidths(), m_nActivePage, m_rcTabArea.width(), m_nScrollOffset);
}

void CCoolTabBar::DrawBackground(QPainter& painter) const
{
    painter.fillRect(rect(), palette().window());
    DrawTiledAcross(painter, rect(), m_bmpBackground);
}

void CCoolTabBar::DrawAllTab(QPainter& painter) const
{
    const int first = GetStartTabIndex();
    const int last = GetLastTabIndex();
    if (first < 0)
        return;
    painter.save();
    // Tabs never spill outside the tab area.
    painter.setClipRect(m_rcTabArea);
    for (int i = first; i <= last; ++i)
        m_listPages.at(i)->Draw(painter, m_nScrollOffset);
    painter.restore();
}

void CCoolTabBar::drawArrow(QPainter& painter, const QRect& rect, const QPixmap* faces, int status,
                            bool forward) const
{
    const QPixmap& face = faces[status];
    if (!face.isNull()) {
        painter.drawPixmap(rect, face);
        return;
    }
    // Without its pictures an arrow is still recognisable and usable.
    const QPointF c = QRectF(rect).center();
    const qreal s = qMin(rect.width(), rect.height()) / 4.0;
    QPolygonF triangle;
    if (forward)
        triangle << QPointF(c.x() - s / 2, c.y() - s) << QPointF(c.x() + s, c.y()) << QPointF(c.x() - s / 2, c.y() + s);
    else
        triangle << QPointF(c.x() + s / 2, c.y() - s) << QPointF(c.x() - s, c.y()) << QPointF(c.x() + s / 2, c.y() + s);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(status == kDisabled ? QPalette::Mid : QPalette::WindowText));
    painter.drawPolygon(triangle);
    painter.restore();
}

void CCoolTabBar::drawFocusRing(QPainter& painter) const
{
    // The same solid ring as the buttons', inside the part of the active tab in view.
    const QRect tab = VisibleTabRect(m_nActivePage);
    if (tab.width() < 8 || tab.height() < 8)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(Qt::black), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(tab.adjusted(3, 3, -4, -4));
    painter.restore();
}

void CCoolTabBar::DrawBackWordButton(QPainter& painter, int status) const
{
    drawArrow(painter, m_rcBackButton, m_bmpBack, status, false);
}

void CCoolTabBar::DrawForWardButton(QPainter& painter, int status) const
{
    drawArrow(painter, m_rcForwardButton, m_bmpForward, status, true);
}

void CCoolTabBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawBackground(painter);
    ResizeAllTab();
    DrawAllTab(painter);
    if (HasFocusCue())
        drawFocusRing(painter);
    DrawBackWordButton(painter, IsCanRollBack() ? kNormal : kDisabled);
    DrawForWardButton(painter, IsCanRollForwad() ? kNormal : kDisabled);
}

void CCoolTabBar::SetFrameBkPic(const QString& path)
{
    m_bmpBackground = LoadSkinBitmap(path);
    update();
}

namespace {

void loadArrow(QPixmap* faces, const QString& normal, const QString& mask, const QString& press,
               const QString& disable)
{
    const QImage m = LoadSkinImage(mask);
    faces[CCoolTabBar::kNormal] = ComposeMaskedBitmap(LoadSkinImage(normal), m);
    faces[CCoolTabBar::kPressed] = ComposeMaskedBitmap(LoadSkinImage(press), m);
    faces[CCoolTabBar::kDisabled] = ComposeMaskedBitmap(LoadSkinImage(disable), m);
}

void loadSet(QPixmap* set, const QString& left, const QString& middle, const QString& right)
{
    set[0] = LoadSkinBitmap(left);
    set[1] = LoadSkinBitmap(middle);
    set[2] = LoadSkinBitmap(right);
}

} // namespace

void CCoolTabBar::SetPrevButtonPic(const QString& normal, const QString& mask, const QString& press,
                                   const QString& disable)
{
    loadArrow(m_bmpBack, normal, mask, press, disable);
    update();
}

void CCoolTabBar::SetForwardButtonPic(const QString& normal, const QString& mask, const QString& press,
                                      const QString& disable)
{
    loadArrow(m_bmpForward, normal, mask, press, disable);
    update();
}

void CCoolTabBar::SetTabButtonNormalPic(const QString& left, const QString& middle, const QString& right)
{
    loadSet(m_bmpNormal, left, middle, right);
    update();
}

void CCoolTabBar::SetTabButtonActivePic(const QString& left, const QString& middle, const QString& right)
{
    loadSet(m_bmpActive, left, middle, right);
    update();
}

void CCoolTabBar::SetTabCloseButtonPic(const QString& path)
{
    m_bmpClose = LoadSkinBitmap(path);
    update();
}

} // namespace Pellora
