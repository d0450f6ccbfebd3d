#include "timelimit.h"

#include "parentpassword.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace TimeLimit {

WindDown WindDownAt(int limitSwitch, uint32_t nowTick, uint32_t startTick, uint32_t allowanceMs, int lastNotice)
{
    constexpr uint32_t kMinute = 60000;
    WindDown result;
    const uint32_t elapsed = nowTick - startTick;
    if (limitSwitch != 1 || elapsed >= allowanceMs)
        return result;
    const uint32_t left = allowanceMs - elapsed;
    if (left <= 5 * kMinute)
        result.minutesLeft = int((left + kMinute - 1) / kMinute);
    for (int notice : {1, 5}) {
        const bool given = lastNotice != 0 && lastNotice <= notice;
        if (!given && left <= uint32_t(notice) * kMinute && allowanceMs > uint32_t(notice) * kMinute) {
            result.notice = notice;
            break;
        }
    }
    return result;
}

uint32_t AllowanceMs(int minutes)
{
    constexpr int kMostMinutes = int(UINT32_MAX / 60000u); // 71582
    if (minutes <= 0)
        return 0;
    return uint32_t(std::min(minutes, kMostMinutes)) * 60000u;
}

bool ShouldLock(int limitSwitch, uint32_t nowTick, uint32_t startTick, uint32_t allowanceMs, bool modalBusy)
{
    return limitSwitch == 1 && !modalBusy && uint32_t(nowTick - startTick) >= allowanceMs;
}

int DecimalNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        negative = text.at(i++) == QLatin1Char('-');
    long long value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return int(negative ? -value : value);
}

namespace {

Refusal checkPassword(const QString& password, const ConfigRecord& record)
{
    switch (CheckParentPassword(password, record)) {
    case PasswordCheck::Empty: return {QStringLiteral("密码不能为空!"), QStringLiteral("错误:")};
    case PasswordCheck::Wrong: return {QStringLiteral("密码不对,请仔细输入或者看有没有大写锁定!"), QStringLiteral("错误")};
    case PasswordCheck::Accepted: break;
    }
    return {};
}

} // namespace

Refusal CheckUnlock(const QString& password, const ConfigRecord& record, const QString& minutesText, int* minutes)
{
    Refusal r = checkPassword(password, record);
    if (!r.text.isEmpty())
        return r;
    const int n = DecimalNumber(minutesText);
    if (n <= 0)
        return {QStringLiteral("延长时间不能为零!"), QStringLiteral("错误")};
    if (n > 600)
        return {QStringLiteral("输入的延时时间必须是1-600分钟之间，不可超过这个数字！"), QStringLiteral("错误")};
    if (minutes)
        *minutes = n;
    return {};
}

Refusal CheckExitPassword(const QString& password, const ConfigRecord& record)
{
    return checkPassword(password, record);
}

QImage Dimmed(const QImage& snapshot)
{
    QImage out = snapshot.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgb(100 + qRed(p) / 2, 100 + qGreen(p) / 2, 100 + qBlue(p) / 2);
        }
    }
    return out;
}

} // namespace TimeLimit
