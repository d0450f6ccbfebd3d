#include "panelpage.h"

#include "managerart.h"

#include <QPainter>

CPanelPage::CPanelPage(int templateId, QWidget* parent)
    : QWidget(parent)
    , m_templateId(templateId)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
}

CPanelPage::~CPanelPage() = default;

QRect CPanelPage::CardRect(const QSize& page)
{
    return QRect(0, 0, qMax(0, page.width() - 1), qMax(0, page.height() - 1));
}

void CPanelPage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kManagerWindowBackground);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(CardBorderColor(), 1));
    p.setBrush(Qt::white);
    // 11 x 11 corner ellipses.
    p.drawRoundedRect(QRectF(CardRect(size())).adjusted(0.5, 0.5, -0.5, -0.5), 5.5, 5.5);
}
