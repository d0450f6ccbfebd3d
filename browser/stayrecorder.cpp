#include "stayrecorder.h"

#include "timetext.h"

std::optional<StayRecorder::Row> StayRecorder::currentRow(uint32_t nowTick) const
{
    if (m_bFirstNavigation)
        return std::nullopt;
    return Row{m_strPageBeginText, ElapsedSeconds(m_dwPageStartTick, nowTick), m_strPageAddress};
}

std::optional<StayRecorder::Row> StayRecorder::navigated(const QString& address, uint32_t nowTick,
                                                         const QString& timeText)
{
    std::optional<Row> ended = currentRow(nowTick);
    m_bFirstNavigation = false;
    m_dwPageStartTick = nowTick;
    m_strPageBeginText = timeText;
    m_strPageAddress = address;
    return ended;
}

std::optional<StayRecorder::Row> StayRecorder::finished(uint32_t nowTick)
{
    std::optional<Row> ended = currentRow(nowTick);
    m_bFirstNavigation = true; // a second call records nothing more
    return ended;
}
