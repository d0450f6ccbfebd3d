#include "flatedit.h"

#include <QEvent>
#include <QPainter>

namespace Quenlit {

namespace {
const QColor kBorder(127, 157, 185);
const QColor kBorderDisabled(196, 204, 210);
const QColor kDisabledBase(240, 242, 243);
} // namespace

CFlatEdit::CFlatEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(4, 1, 4, 1);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    applyColours();
}

CFlatEdit::~CFlatEdit() = default;

void CFlatEdit::applyColours()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Active, QPalette::Text, TextColor());
    pal.setColor(QPalette::Inactive, QPalette::Text, TextColor());
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(150, 150, 150));
    pal.setColor(QPalette::Active, QPalette::Base, Qt::white);
    pal.setColor(QPalette::Inactive, QPalette::Base, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::Base, kDisabledBase);
    setPalette(pal);
}

void CFlatEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

void CFlatEdit::paintEvent(QPaintEvent* event)
{
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base));
    }
    QLineEdit::paintEvent(event);
    QPainter p(this);
    p.setPen(isEnabled() ? kBorder : kBorderDisabled);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace Quenlit
