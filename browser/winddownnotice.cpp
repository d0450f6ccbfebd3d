#include "winddownnotice.h"

#include <pellora/colorref.h>
#include <pellora/surfacemanager.h>

#include <QPainter>
#include <QTimerEvent>

using Pellora::CSurfaceManager;
using Pellora::ColorRefToQColor;

namespace {

constexpr int kShownMs = 10000;
constexpr int kWidth = 460;
constexpr int kHeight = 64;

} // namespace

CWindDownNotice::CWindDownNotice(QWidget* frame)
    : QWidget(frame)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    hide();
}

QString CWindDownNotice::TextFor(int minutes)
{
    if (minutes <= 1)
        return QStringLiteral("还有1分钟就要休息啦，和网页说再见吧！");
    return QStringLiteral("还有%1分钟就要休息啦，先把手上的事情做完吧！").arg(minutes);
}

void CWindDownNotice::ShowFor(int minutes, const QRect& area)
{
    m_strText = TextFor(minutes);
    const int width = qMin(kWidth, area.width());
    setGeometry(area.x() + (area.width() - width) / 2, area.y() + 16, width, kHeight);
    show();
    raise();
    update();
    m_hideTimer.start(kShownMs, this);
}

void CWindDownNotice::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor back = ColorRefToQColor(CSurfaceManager::m_CoolTabCtrlBkColor);
    const QColor text = ColorRefToQColor(CSurfaceManager::m_StatusTextColor);
    p.setPen(QPen(text, 2));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 14, 14);
    QFont font = this->font();
    font.setPointSize(14);
    font.setBold(true);
    p.setFont(font);
    p.drawText(rect().adjusted(12, 0, -12, 0), Qt::AlignCenter | Qt::TextWordWrap, m_strText);
}

void CWindDownNotice::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_hideTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_hideTimer.stop();
    hide();
}
