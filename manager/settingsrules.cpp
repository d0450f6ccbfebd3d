#include "settingsrules.h"

#include "childsite.h"
#include "passwordcheck.h"

#include <algorithm>
#include <cstring>
#include <limits>

qint64 LeadingDecimal(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (; i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        const int digit = text[i].unicode() - '0';
        if (value > (kMax - digit) / 10) {
            value = kMax;
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

int LeadingDecimalInt(const QString& text)
{
    return int(std::clamp<qint64>(LeadingDecimal(text), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int ClampPage(int wanted, int pageCount)
{
    int page = wanted;
    if (page > pageCount)
        page = pageCount;
    if (page < 1)
        page = 1;
    return page;
}

GeneralSettings GeneralSettingsOf(const ConfigRecord& record)
{
    GeneralSettings s;
    s.onlyChildSites = record.m_bOnlyChildSites != 0;
    s.exitNeedPassword = record.m_bExitNeedPassword != 0;
    s.loginBeforeManage = record.m_bLoginBeforeManage != 0;
    s.useOwnHomePage = record.m_bUseOwnHomePage != 0;
    const char* home = record.m_szHomePage;
    s.homePage = QString::fromUtf8(home, qsizetype(qstrnlen(home, sizeof record.m_szHomePage)));
    return s;
}

GeneralSave ApplyGeneralSettings(ConfigRecord& record, const GeneralSettings& page)
{
    record.m_bOnlyChildSites = page.onlyChildSites ? 1 : 0;
    record.m_bExitNeedPassword = page.exitNeedPassword ? 1 : 0;
    record.m_bLoginBeforeManage = page.loginBeforeManage ? 1 : 0;
    record.m_bUseOwnHomePage = page.useOwnHomePage ? 1 : 0;
    if (!page.useOwnHomePage)
        return GeneralSave::Write;

    const QString trimmed = page.homePage.trimmed();
    if (trimmed.isEmpty())
        return GeneralSave::EmptyHomePage;
    const QByteArray address = trimmed.toUtf8();
    if (address.size() > kHomePageMaxBytes)
        return GeneralSave::HomePageTooLong;
    for (const QChar c : trimmed) {
        if (c.category() == QChar::Other_Control)
            return GeneralSave::HomePageControlCharacter;
    }
    std::memset(record.m_szHomePage, 0, sizeof record.m_szHomePage);
    std::memcpy(record.m_szHomePage, address.constData(), std::size_t(address.size()));
    return GeneralSave::Write;
}

bool GeneralSettingsDiffer(const ConfigRecord& record, const GeneralSettings& page)
{
    const GeneralSettings stored = GeneralSettingsOf(record);
    if (stored.onlyChildSites != page.onlyChildSites || stored.exitNeedPassword != page.exitNeedPassword
        || stored.loginBeforeManage != page.loginBeforeManage || stored.useOwnHomePage != page.useOwnHomePage)
        return true;
    return page.useOwnHomePage && page.homePage.trimmed() != stored.homePage;
}

ChildSitesCoverage CheckChildSitesCoverage(const ConfigRecord& record, const QStringList& siteUrls)
{
    if (record.m_bOnlyChildSites == 0)
        return ChildSitesCoverage::NotRestricted;
    if (siteUrls.isEmpty())
        return ChildSitesCoverage::NoSites;
    // With no address of the parents' the browser opens its own start page, a local file.
    const QString home = GeneralSettingsOf(record).homePage;
    if (home.isEmpty())
        return ChildSitesCoverage::Covered;
    const ChildSiteAddress target = ClassifyChildSiteAddress(home);
    switch (target.kind) {
    case ChildSiteAddress::Kind::Allowed: return ChildSitesCoverage::Covered;
    case ChildSiteAddress::Kind::Refused: return ChildSitesCoverage::HomePageNotCovered;
    case ChildSiteAddress::Kind::Host: break;
    }
    const std::string_view host(target.host.constData(), std::size_t(target.host.size()));
    for (const QString& site : siteUrls) {
        const QByteArray url = site.toUtf8();
        if (SiteAllowsHost(host, std::string_view(url.constData(), std::size_t(url.size()))))
            return ChildSitesCoverage::Covered;
    }
    return ChildSitesCoverage::HomePageNotCovered;
}

void ApplyGeneralDefaults(ConfigRecord& record)
{
    record.m_bOnlyChildSites = 1;
    record.m_bExitNeedPassword = 1;
    record.m_bLoginBeforeManage = 1;
}

TimeLimitSave ApplyTimeLimit(ConfigRecord& record, bool limitOn, const QString& minutesText)
{
    const int minutes = LeadingDecimalInt(minutesText);
    if (limitOn && (minutes < kMinLimitMinutes || minutes > kMaxLimitMinutes))
        return TimeLimitSave::MinutesOutOfRange;
    record.m_bLimitTime = limitOn ? 1 : 0;
    record.m_nLimitMinutes = minutes;
    return TimeLimitSave::Write;
}

bool TimeLimitDiffers(const ConfigRecord& record, bool limitOn, const QString& minutesText)
{
    return (record.m_bLimitTime != 0) != limitOn || record.m_nLimitMinutes != LeadingDecimalInt(minutesText);
}

void ApplyTimeLimitDefaults(ConfigRecord& record)
{
    record.m_bLimitTime = 0;
    record.m_nLimitMinutes = kDefaultLimitMinutes;
}

PasswordChange CheckPasswordChange(const QString& current, const QString& next, const QString& again,
                                   const ConfigRecord& record)
{
    switch (CheckLogin(current, record)) {
    case LoginCheck::Empty: return PasswordChange::EmptyCurrent;
    case LoginCheck::Wrong: return PasswordChange::WrongCurrent;
    case LoginCheck::Accepted: break;
    }
    if (next.trimmed().isEmpty())
        return PasswordChange::EmptyNew;
    if (next.toUtf8() != again.toUtf8())
        return PasswordChange::Mismatch;
    return PasswordChange::Accepted;
}
