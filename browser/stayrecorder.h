#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The stays of one page view: every allowed top-level navigation ends the stay on
// the previous page (one history row) and starts the next; the view's end closes
// the last one. A view that never navigated records nothing.
class StayRecorder
{
public:
    struct Row {
        QString beginTime;
        uint32_t seconds;
        QString address;
    };

    // An allowed navigation at `nowTick`, local time text `timeText`.
    std::optional<Row> navigated(const QString& address, uint32_t nowTick, const QString& timeText);
    // The view ends at `nowTick`.
    std::optional<Row> finished(uint32_t nowTick);
    // The address of the stay going on, empty when there is none.
    QString Address() const { return m_bFirstNavigation ? QString() : m_strPageAddress; }

private:
    std::optional<Row> currentRow(uint32_t nowTick) const;

    uint32_t m_dwPageStartTick = 0;
    QString m_strPageBeginText;
    bool m_bFirstNavigation = true;
    QString m_strPageAddress;
};
