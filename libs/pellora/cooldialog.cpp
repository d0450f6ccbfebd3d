#include "cooldialog.h"

#include "colorref.h"
#include "skinpaint.h"

#include <QMouseEvent>
#include <QPainter>

namespace Pellora {

namespace {

constexpr int kBandInset = 5;     // the middle bitmap of a band starts this far in
constexpr int kCornerEllipse = 5; // the window's rounded corners
constexpr int kFixedCorner = 30;  // the top-left square that does not drag

} // namespace

CoolDialogFrame LayoutCoolDialogFrame(const QSize& size, int titleHeight, int borderWidth)
{
    const int w = size.width();
    const int h = size.height();
    CoolDialogFrame f;
    f.left = QRect(0, 0, borderWidth, h);
    f.right = QRect(w - borderWidth, 0, borderWidth, h);
    f.title = QRect(0, 0, w, titleHeight);
    f.bottom = QRect(0, h - borderWidth, w, borderWidth);
    f.client = QRect(borderWidth, titleHeight, qMax(0, w - 2 * borderWidth), qMax(0, h - titleHeight - borderWidth));
    return f;
}

bool IsCoolDialogDragSpot(const QPoint& pos)
{
    return !QRect(0, 0, kFixedCorner, kFixedCorner).contains(pos);
}

CCoolDialog::CCoolDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_crBackColor(MakeColorRef(242, 242, 242))
{
    setContentsMargins(m_nBorderWidth, m_nTitleHeight, m_nBorderWidth, m_nBorderWidth);
    applyBackColor();
}

CCoolDialog::~CCoolDialog() = default;

void CCoolDialog::applyBackColor()
{
    // Labels and other see-through children show the dialog's own colour.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorRefToQColor(m_crBackColor));
    setPalette(pal);
}

void CCoolDialog::SetBackColor(unsigned long colorRef)
{
    m_crBackColor = colorRef;
    applyBackColor();
    update();
}

void CCoolDialog::SetBmpTitleBitmap(const QString& left, const QString& middle, const QString& right)
{
    m_bmpTitleLeft = LoadSkinBitmap(left);
    m_bmpTitleMiddle = LoadSkinBitmap(middle);
    m_bmpTitleRight = LoadSkinBitmap(right);
    update();
}

void CCoolDialog::SetDialogBorderLeft(const QString& path)
{
    m_bmpBorderLeft = LoadSkinBitmap(path);
    update();
}

void CCoolDialog::SetDialogBorderRight(const QString& path)
{
    m_bmpBorderRight = LoadSkinBitmap(path);
    update();
}

void CCoolDialog::SetDialogBottomBorderBmp(const QString& left, const QString& middle, const QString& right)
{
    m_bmpBottomLeft = LoadSkinBitmap(left);
    m_bmpBottomMiddle = LoadSkinBitmap(middle);
    m_bmpBottomRight = LoadSkinBitmap(right);
    update();
}

CoolDialogFrame CCoolDialog::FrameLayout() const
{
    return LayoutCoolDialogFrame(size(), m_nTitleHeight, m_nBorderWidth);
}

namespace {

// Each part is composed on its own over the background colour, then copied whole, so
// what one part's bitmaps leave transparent shows the colour, not a neighbouring part.
template <typename Draw>
void composePart(QPainter& painter, const QRect& rect, const QColor& back, Draw draw)
{
    if (rect.isEmpty())
        return;
    QPixmap part(rect.size());
    part.fill(back);
    {
        QPainter p(&part);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        draw(p, QRect(QPoint(0, 0), rect.size()));
    }
    painter.drawPixmap(rect.topLeft(), part);
}

} // namespace

void CCoolDialog::DrawTitleBar(QPainter& painter, const QRect& rect) const
{
    composePart(painter, rect, ColorRefToQColor(m_crBackColor), [this](QPainter& p, const QRect& r) {
        DrawThreePiece(p, r, kBandInset, m_bmpTitleLeft, m_bmpTitleMiddle, m_bmpTitleRight);
    });
}

void CCoolDialog::DrawLeftBorder(QPainter& painter, const QRect& rect) const
{
    composePart(painter, rect, ColorRefToQColor(m_crBackColor),
                [this](QPainter& p, const QRect& r) { DrawTiledDown(p, r, m_bmpBorderLeft); });
}

void CCoolDialog::DrawRightBorder(QPainter& painter, const QRect& rect) const
{
    composePart(painter, rect, ColorRefToQColor(m_crBackColor),
                [this](QPainter& p, const QRect& r) { DrawTiledDown(p, r, m_bmpBorderRight); });
}

void CCoolDialog::DrawBottomBorder(QPainter& painter, const QRect& rect) const
{
    composePart(painter, rect, ColorRefToQColor(m_crBackColor), [this](QPainter& p, const QRect& r) {
        DrawThreePiece(p, r, kBandInset, m_bmpBottomLeft, m_bmpBottomMiddle, m_bmpBottomRight);
    });
}

void CCoolDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CoolDialogFrame f = FrameLayout();
    painter.fillRect(f.client, ColorRefToQColor(m_crBackColor));
    DrawLeftBorder(painter, f.left);
    DrawRightBorder(painter, f.right);
    DrawTitleBar(painter, f.title);
    DrawBottomBorder(painter, f.bottom);
}

void CCoolDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    setMask(RoundRectRegion(rect(), kCornerEllipse, kCornerEllipse));
}

void CCoolDialog::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && IsCoolDialogDragSpot(pos) && !isMaximized()) {
        m_bDragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void CCoolDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bDragging && (event->buttons() & Qt::LeftButton) && !isMaximized()) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CCoolDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bDragging && event->button() == Qt::LeftButton) {
        m_bDragging = false;
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

} // namespace Pellora
