#pragma once

#include "pellora_export.h"

#include <QBasicTimer>
#include <QDateTime>
#include <QList>
#include <QRect>
#include <QStatusBar>

#include <cstdint>

class QProgressBar;

namespace Pellora {

// The three panes of the status bar within its client rectangle: the clock (400
// pixels), the progress pane (400) and the sponsor line (500), left to right. A pane
// that would reach past the bar's right edge ends there, so the right-aligned sponsor
// line stays readable on narrow screens.
PELLORA_EXPORT QList<QRect> LayoutStatusPanes(const QRect& client);

// The browser's status bar: one solid skin colour, the date and time followed by the
// time on line (refreshed every second), a page-loading progress bar in the second
// pane and the sponsor line at the right. Time on line counts from construction.
class PELLORA_EXPORT CCoolStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit CCoolStatusBar(QWidget* parent = nullptr);
    ~CCoolStatusBar() override;

    void SetBackColor(unsigned long colorRef);
    void SetFontColor(unsigned long colorRef);
    unsigned long BackColor() const { return m_crBackColor; }
    unsigned long FontColor() const { return m_crFontColor; }
    void SetMinHeight(int height);

    void ShowProgress();
    void HideProgress();
    // The range and position are 16-bit, as page progress is reported.
    void SetProgressMax(qint16 value);
    void SetProgressMin(qint16 value);
    void SetProgressPos(qint16 value);
    QProgressBar* ProgressBar() const { return m_wndProgress; }

    // The time on line as text: "1小时2分5秒"; zero parts are left out, so under one
    // second gives the empty text.
    static QString GetTimeFromTickToString(uint32_t milliseconds);
    // The first pane's text at `when` after `elapsedMilliseconds` on line.
    static QString ClockText(const QDateTime& when, uint32_t elapsedMilliseconds);
    static QString SponsorText();
    // What the first pane shows now.
    QString CurrentClockText() const;
    // The time left before the lock, at the right of the second pane while no page is
    // loading; empty shows none.
    void SetTimeLeftText(const QString& text);
    const QString& TimeLeftText() const { return m_strTimeLeft; }

    uint32_t StartTick() const { return m_dwStartTick; }
    QRect PaneRect(int pane) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void placeProgress();
    void applyColors();

    int m_nMinHeight = 25;
    QString m_strTimeLeft;
    uint32_t m_dwStartTick;
    unsigned long m_crBackColor;
    unsigned long m_crFontColor;
    QProgressBar* m_wndProgress;
    qint16 m_nProgressMax = 100;
    qint16 m_nProgressMin = 0;
    QBasicTimer m_clock;
};

} // namespace Pellora
