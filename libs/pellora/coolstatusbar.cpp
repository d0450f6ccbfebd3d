#include "coolstatusbar.h"

#include "colorref.h"
#include "tickclock.h"

#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QTimerEvent>

namespace Pellora {

namespace {

constexpr int kPaneWidths[3] = {400, 400, 500};
constexpr int kClockPeriodMs = 1000;
const char kSponsorHost[] = "www.lorvane.example";

// The loading bar in the bar's own colours: a darker track and a chunk in the text colour.
class SkinProgressBar : public QProgressBar
{
public:
    using QProgressBar::QProgressBar;
    QColor track;
    QColor chunk;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal radius = qMin<qreal>(4, r.height() / 2);
        p.setPen(chunk);
        p.setBrush(track);
        p.drawRoundedRect(r, radius, radius);
        const qint64 span = qint64(maximum()) - minimum();
        if (span <= 0)
            return;
        const qreal part = qBound<qreal>(0, qreal(qint64(value()) - minimum()) / span, 1);
        if (part <= 0)
            return;
        QPainterPath clip;
        clip.addRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius, radius);
        p.setClipPath(clip);
        p.fillRect(QRectF(r.left(), r.top(), r.width() * part, r.height()), chunk);
    }
};

} // namespace

QList<QRect> LayoutStatusPanes(const QRect& client)
{
    QList<QRect> panes;
    int x = client.left();
    for (int width : kPaneWidths) {
        const int right = qMin(x + width, client.left() + client.width());
        panes.append(QRect(x, client.top(), qMax(0, right - x), client.height()));
        x += width;
    }
    return panes;
}

CCoolStatusBar::CCoolStatusBar(QWidget* parent)
    : QStatusBar(parent)
    , m_dwStartTick(GetTickCount())
    , m_crBackColor(MakeColorRef(38, 89, 140))
    , m_crFontColor(MakeColorRef(255, 255, 255))
{
    setSizeGripEnabled(false);
    SetMinHeight(m_nMinHeight);
    auto* progress = new SkinProgressBar(this);
    progress->setTextVisible(false);
    progress->hide();
    m_wndProgress = progress;
    SetProgressMin(0);
    SetProgressMax(100);
    applyColors();
    connect(this, &QStatusBar::messageChanged, this, qOverload<>(&QWidget::update));
    m_clock.start(kClockPeriodMs, this);
}

CCoolStatusBar::~CCoolStatusBar() = default;

void CCoolStatusBar::applyColors()
{
    auto* progress = static_cast<SkinProgressBar*>(m_wndProgress);
    const QColor back = ColorRefToQColor(m_crBackColor);
    progress->track = back.lightness() > 128 ? back.darker(115) : back.darker(140);
    progress->chunk = ColorRefToQColor(m_crFontColor);
    progress->update();
    update();
}

void CCoolStatusBar::SetBackColor(unsigned long colorRef)
{
    m_crBackColor = colorRef;
    applyColors();
}

void CCoolStatusBar::SetFontColor(unsigned long colorRef)
{
    m_crFontColor = colorRef;
    applyColors();
}

void CCoolStatusBar::SetMinHeight(int height)
{
    m_nMinHeight = height;
    setMinimumHeight(height);
}

void CCoolStatusBar::ShowProgress()
{
    placeProgress();
    m_wndProgress->show();
}

void CCoolStatusBar::HideProgress()
{
    m_wndProgress->hide();
}

void CCoolStatusBar::SetProgressMax(qint16 value)
{
    m_nProgressMax = value;
    m_wndProgress->setRange(m_nProgressMin, m_nProgressMax);
}

void CCoolStatusBar::SetProgressMin(qint16 value)
{
    m_nProgressMin = value;
    m_wndProgress->setRange(m_nProgressMin, m_nProgressMax);
}

void CCoolStatusBar::SetProgressPos(qint16 value)
{
    m_wndProgress->setValue(value);
}

QString CCoolStatusBar::GetTimeFromTickToString(uint32_t milliseconds)
{
    const uint32_t s = milliseconds / 1000;
    const uint32_t hours = s / 3600;
    const uint32_t minutes = s / 60 - 60 * hours;
    const uint32_t seconds = s % 60;
    QString text;
    if (hours > 0)
        text += QString::number(hours) + QStringLiteral("小时");
    if (minutes > 0)
        text += QString::number(minutes) + QStringLiteral("分");
    if (seconds > 0)
        text += QString::number(seconds) + QStringLiteral("秒");
    return text;
}

QString CCoolStatusBar::ClockText(const QDateTime& when, uint32_t elapsedMilliseconds)
{
    return when.toString(QStringLiteral("yyyy年MM月dd日 HH:mm:ss")) + QStringLiteral("    你已经上网:")
        + GetTimeFromTickToString(elapsedMilliseconds);
}

QString CCoolStatusBar::SponsorText()
{
    return QStringLiteral("赞助单位: ") + QLatin1String(kSponsorHost);
}

QString CCoolStatusBar::CurrentClockText() const
{
    // Unsigned difference: the tick counter's wrap still gives the right time on line.
    return ClockText(QDateTime::currentDateTime(), GetTickCount() - m_dwStartTick);
}

void CCoolStatusBar::SetTimeLeftText(const QString& text)
{
    if (text == m_strTimeLeft)
        return;
    m_strTimeLeft = text;
    update();
}

QRect CCoolStatusBar::PaneRect(int pane) const
{
    const QList<QRect> panes = LayoutStatusPanes(rect());
    return pane >= 0 && pane < panes.size() ? panes.at(pane) : QRect();
}

void CCoolStatusBar::placeProgress()
{
    m_wndProgress->setGeometry(PaneRect(1).adjusted(2, 2, -2, -2));
}

void CCoolStatusBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ColorRefToQColor(m_crBackColor));
    QFont font = this->font();
    font.setPointSize(10);
    p.setFont(font);
    p.setPen(ColorRefToQColor(m_crFontColor));
    const QFontMetrics fm(font);

    const QRect clock = PaneRect(0).adjusted(5, 0, 0, 0);
    p.drawText(clock, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               fm.elidedText(CurrentClockText(), Qt::ElideRight, clock.width()));

    // A passing message (something the child tried was turned down) shares the
    // progress pane; a loading page's progress comes first.
    // So does the time left before the lock, at its right end.
    const QString message = currentMessage();
    const QRect pane = PaneRect(1).adjusted(5, 0, -5, 0);
    int messageWidth = pane.width();
    if (!m_strTimeLeft.isEmpty() && m_wndProgress->isHidden()) {
        const int width = fm.horizontalAdvance(m_strTimeLeft);
        p.drawText(pane, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, m_strTimeLeft);
        messageWidth = qMax(0, pane.width() - width - 10);
    }
    if (!message.isEmpty() && m_wndProgress->isHidden())
        p.drawText(pane.adjusted(0, 0, messageWidth - pane.width(), 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   fm.elidedText(message, Qt::ElideRight, messageWidth));

    const QRect sponsor = PaneRect(2).adjusted(5, 0, -6, 0);
    p.drawText(sponsor, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
               fm.elidedText(SponsorText(), Qt::ElideRight, sponsor.width()));
}

void CCoolStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    placeProgress();
}

void CCoolStatusBar::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_clock.timerId()) {
        update();
        return;
    }
    QStatusBar::timerEvent(event);
}

} // namespace Pellora
