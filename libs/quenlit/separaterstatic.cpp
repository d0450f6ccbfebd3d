#include "separaterstatic.h"

#include <QPainter>

namespace Quenlit {

CSeparaterStatic::CSeparaterStatic(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CSeparaterStatic::~CSeparaterStatic() = default;

void CSeparaterStatic::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void CSeparaterStatic::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_color);
}

} // namespace Quenlit
