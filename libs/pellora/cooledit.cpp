#include "cooledit.h"

#include "colorref.h"
#include "skinpaint.h"

#include <QPainter>

namespace Pellora {

namespace {

constexpr int kBackgroundInset = 10;

} // namespace

CCoolEdit::CCoolEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_crBackColor(MakeColorRef(242, 242, 242))
{
    setFrame(false);
    // The line edit's own panel would cover the border; the text area is filled here.
    m_textBackground = palette().color(QPalette::Base);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    setPalette(pal);
    // A box created lower than the minimum grows to it at once.
    setMinimumHeight(m_nMinHeight);
    updateMargins();
}

CCoolEdit::~CCoolEdit() = default;

void CCoolEdit::SetBackgroundBitmap(const QString& left, const QString& middle, const QString& right)
{
    m_bmpLeft = LoadSkinBitmap(left);
    m_bmpMiddle = LoadSkinBitmap(middle);
    m_bmpRight = LoadSkinBitmap(right);
    update();
}

void CCoolEdit::SetBackColor(unsigned long colorRef)
{
    m_crBackColor = colorRef;
    update();
}

void CCoolEdit::SetBorderWidth(int width)
{
    m_nBorderWidth = qMax(0, width);
    updateMargins();
    updateGeometry();
    update();
}

void CCoolEdit::SetMinHeight(int height)
{
    m_nMinHeight = qMax(0, height);
    // A lower minimum leaves the current height as it is until the next size change;
    // a higher one makes the box grow at once.
    setMinimumHeight(m_nMinHeight);
    updateGeometry();
    update();
}

QRect CCoolEdit::TextRect() const
{
    const QMargins m = textMargins();
    return rect().marginsRemoved(m);
}

void CCoolEdit::updateMargins()
{
    const int line = fontMetrics().height() + 2;
    const int vertical = qBound(0, (height() - line) / 2, m_nBorderWidth);
    const int horizontal = qMin(m_nBorderWidth, qMax(0, (width() - 10) / 2));
    setTextMargins(horizontal, vertical, horizontal, vertical);
}

QSize CCoolEdit::sizeHint() const
{
    const QSize base = QLineEdit::sizeHint();
    const int height = fontMetrics().height() + 2 + 2 * m_nBorderWidth;
    return QSize(base.width(), qMax(m_nMinHeight, height));
}

QSize CCoolEdit::minimumSizeHint() const
{
    return QSize(2 * m_nBorderWidth + 10, m_nMinHeight);
}

void CCoolEdit::resizeEvent(QResizeEvent* event)
{
    updateMargins();
    QLineEdit::resizeEvent(event);
}

void CCoolEdit::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRect text = TextRect();
        painter.setClipRegion(QRegion(rect()) - QRegion(text));
        painter.fillRect(rect(), ColorRefToQColor(m_crBackColor));
        DrawThreePiece(painter, rect(), kBackgroundInset, m_bmpLeft, m_bmpMiddle, m_bmpRight);
        painter.setClipping(false);
        painter.fillRect(text, isEnabled() ? m_textBackground : palette().color(QPalette::Disabled, QPalette::Window));
    }
    QLineEdit::paintEvent(event);
}

} // namespace Pellora
