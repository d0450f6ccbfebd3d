#include "timetext.h"

QString FormatTimeText(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy年MM月dd日 HH:mm"));
}

QString CurrentTimeText()
{
    return FormatTimeText(QDateTime::currentDateTime());
}

uint32_t ElapsedSeconds(uint32_t startTick, uint32_t nowTick)
{
    const uint32_t ms = nowTick - startTick;
    return ms / 1000u + (ms % 1000u ? 1u : 0u);
}
