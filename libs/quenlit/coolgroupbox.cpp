#include "coolgroupbox.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Quenlit {

namespace {
constexpr int kCaptionInset = 10;
constexpr double kRadius = 5.0; // 10-pixel corner ellipses
} // namespace

GroupBoxLayout LayoutGroupBox(const QSize& box, const QSize& captionText, CoolGroupBoxAlign align,
                              CoolGroupBoxStyle style)
{
    GroupBoxLayout l;
    const int W = box.width();
    const int H = box.height();
    const int captionHeight = captionText.height() + 4;
    if (style == CoolGroupBoxStyle::Window) {
        l.frame = QRect(0, 0, W, H);
        l.caption = QRect(0, 0, W, qMin(H, captionHeight + 2));
        const int room = qMax(0, W - 2 * kCaptionInset);
        const int tw = qMin(captionText.width(), room);
        int x = kCaptionInset;
        if (align == CoolGroupBoxAlign::Center)
            x = (W - tw) / 2;
        else if (align == CoolGroupBoxAlign::Right)
            x = W - kCaptionInset - tw;
        l.text = QRect(x, l.caption.top(), tw, l.caption.height());
        return l;
    }
    const int room = qMax(0, W - 2 * kCaptionInset);
    const int cw = captionText.isEmpty() ? 0 : qMin(captionText.width() + 8, room);
    int x = kCaptionInset;
    if (align == CoolGroupBoxAlign::Center)
        x = (W - cw) / 2;
    else if (align == CoolGroupBoxAlign::Right)
        x = W - kCaptionInset - cw;
    l.caption = QRect(x, 0, cw, captionText.isEmpty() ? 0 : captionHeight);
    const int top = captionText.isEmpty() ? 0 : captionHeight / 2;
    l.frame = QRect(0, top, W, qMax(0, H - top));
    l.text = l.caption.adjusted(4, 0, -4, 0);
    return l;
}

CCoolGroupBox::CCoolGroupBox(QWidget* parent)
    : QWidget(parent)
    , m_font(font())
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

CCoolGroupBox::~CCoolGroupBox() = default;

bool CCoolGroupBox::Create(const QString& caption, const QRect& rect, QWidget* parent)
{
    if (!parent)
        return false;
    setParent(parent);
    setGeometry(rect);
    SetText(caption);
    show();
    return true;
}

CCoolGroupBox& CCoolGroupBox::SetText(const QString& text)
{
    m_text = text;
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetFont(const QFont& font)
{
    m_font = font;
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetFontBold(bool bBold)
{
    m_font.setBold(bBold);
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetFontItalic(bool bItalic)
{
    m_font.setItalic(bItalic);
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetFontUnderline(bool bUnderline)
{
    m_font.setUnderline(bUnderline);
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetFontSize(int nPointSize)
{
    if (nPointSize > 0)
        m_font.setPointSize(nPointSize);
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetFontName(const QString& name)
{
    m_font.setFamily(name);
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetBorderColor(const QColor& color)
{
    m_borderColor = color;
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetCatptionTextColor(const QColor& color)
{
    m_captionColor = color;
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetBackgroundColor(const QColor& color)
{
    m_backTop = color;
    m_backBottom = QColor();
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetBackgroundColor(const QColor& top, const QColor& bottom)
{
    m_backTop = top;
    m_backBottom = bottom;
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetAlignment(CoolGroupBoxAlign align)
{
    m_align = align;
    UpdateSurface();
    return *this;
}

CCoolGroupBox& CCoolGroupBox::SetXPGroupStyle(CoolGroupBoxStyle style)
{
    m_style = style;
    UpdateSurface();
    return *this;
}

void CCoolGroupBox::UpdateSurface()
{
    update();
}

QString CCoolGroupBox::captionText() const
{
    return m_text.isEmpty() ? QString() : QLatin1Char(' ') + m_text + QLatin1Char(' ');
}

GroupBoxLayout CCoolGroupBox::Layout() const
{
    const QFontMetrics fm(m_font);
    const QString caption = captionText();
    const QSize textSize = caption.isEmpty() ? QSize() : QSize(fm.horizontalAdvance(caption), fm.height());
    return LayoutGroupBox(size(), textSize, m_align, m_style);
}

void CCoolGroupBox::paintEvent(QPaintEvent*)
{
    const GroupBoxLayout l = Layout();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    QBrush back;
    if (m_backTop.isValid() && m_backBottom.isValid()) {
        QLinearGradient g(0, l.caption.top(), 0, l.caption.bottom() + 1);
        g.setColorAt(0, m_backTop);
        g.setColorAt(1, m_backBottom);
        back = QBrush(g);
    } else if (m_backTop.isValid()) {
        back = QBrush(m_backTop);
    }
    if (m_backTop.isValid() && m_style == CoolGroupBoxStyle::Frame)
        p.fillRect(rect(), m_backTop);

    const QRectF frame = QRectF(l.frame).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(m_borderColor, 1));
    p.setBrush(InsideColor());
    p.drawRoundedRect(frame, kRadius, kRadius);

    const QString caption = captionText();
    if (m_style == CoolGroupBoxStyle::Window) {
        QPainterPath band;
        band.addRoundedRect(frame, kRadius, kRadius);
        QPainterPath clip;
        clip.addRect(QRectF(l.caption));
        p.setPen(Qt::NoPen);
        p.setBrush(back.style() == Qt::NoBrush ? QBrush(InsideColor()) : back);
        p.drawPath(band.intersected(clip));
        p.setPen(QPen(m_borderColor, 1));
        p.drawLine(QPointF(frame.left(), l.caption.bottom() + 0.5), QPointF(frame.right(), l.caption.bottom() + 0.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(frame, kRadius, kRadius);
    } else if (!caption.isEmpty()) {
        p.setPen(QPen(m_borderColor, 1));
        p.setBrush(back.style() == Qt::NoBrush ? QBrush(InsideColor()) : back);
        p.drawRoundedRect(QRectF(l.caption).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    }
    if (!caption.isEmpty()) {
        p.setFont(m_font);
        p.setPen(m_captionColor);
        const Qt::Alignment h = m_style == CoolGroupBoxStyle::Frame ? Qt::AlignHCenter
                                : m_align == CoolGroupBoxAlign::Center ? Qt::AlignHCenter
                                : m_align == CoolGroupBoxAlign::Right  ? Qt::AlignRight
                                                                       : Qt::AlignLeft;
        p.drawText(l.text, h | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                   m_style == CoolGroupBoxStyle::Frame ? m_text : caption.trimmed());
    }
}

} // namespace Quenlit
