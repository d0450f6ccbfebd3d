#include "label.h"

#include <QPainter>

namespace Quenlit {

namespace {
const QColor kBorder(107, 141, 162);
constexpr int kPadding = 2;
} // namespace

CLabel::CLabel(QWidget* parent)
    : QWidget(parent)
    , m_font(parent ? parent->font() : font())
{
}

CLabel::CLabel(const QString& text, QWidget* parent)
    : CLabel(parent)
{
    m_text = text;
}

CLabel::~CLabel() = default;

void CLabel::setText(const QString& text)
{
    m_text = text;
    update();
}

CLabel& CLabel::SetFont(const QFont& font)
{
    m_font = font;
    updateGeometry();
    update();
    return *this;
}

CLabel& CLabel::SetFontBold(bool bBold)
{
    m_font.setWeight(bBold ? QFont::Bold : QFont::Normal);
    update();
    return *this;
}

CLabel& CLabel::SetTextColor(const QColor& color)
{
    m_textColor = color;
    update();
    return *this;
}

CLabel& CLabel::SetBackColor(const QColor& color)
{
    m_backColor = color;
    update();
    return *this;
}

CLabel& CLabel::EnableBorder(bool bEnable)
{
    m_bBorder = bEnable;
    update();
    return *this;
}

CLabel& CLabel::SetAlignment(Qt::Alignment horizontal)
{
    m_align = horizontal & Qt::AlignHorizontal_Mask;
    update();
    return *this;
}

QString CLabel::DisplayedText() const
{
    const int room = width() - 2 * kPadding;
    return QFontMetrics(m_font).elidedText(m_text, Qt::ElideRight, qMax(0, room));
}

QSize CLabel::sizeHint() const
{
    const QFontMetrics fm(m_font);
    return QSize(fm.horizontalAdvance(m_text) + 2 * kPadding + 2, fm.height() + 4);
}

void CLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_backColor.isValid())
        p.fillRect(rect(), m_backColor);
    p.setFont(m_font);
    p.setPen(isEnabled() ? m_textColor : QColor(160, 160, 160));
    p.drawText(rect().adjusted(kPadding, 0, -kPadding, 0), m_align | Qt::AlignVCenter | Qt::TextSingleLine,
               DisplayedText());
    if (m_bBorder) {
        p.setPen(kBorder);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace Quenlit
