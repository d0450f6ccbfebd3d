#include "picturebox.h"

#include <QPainter>

namespace Quenlit {

namespace {
const QColor kFrame(87, 117, 159);
} // namespace

CPictureBox::CPictureBox(QWidget* parent)
    : QWidget(parent)
{
}

CPictureBox::~CPictureBox() = default;

void CPictureBox::SetBitmap(const QImage& bitmap)
{
    m_bitmap = bitmap;
    update();
}

void CPictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_bitmap.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), m_bitmap);
    }
    p.setPen(kFrame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace Quenlit
