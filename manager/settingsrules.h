#pragma once

#include "configrecord.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What the general, time limit and password pages do to the configuration record,
// without any widget: the pages read their controls, call these and present the result.

// The plain decimal conversion of a typed number: leading blanks skipped, an optional
// sign, then digits up to the first other character; no digits give 0. Numbers beyond
// the range saturate instead of wrapping.
qint64 LeadingDecimal(const QString& text);
int LeadingDecimalInt(const QString& text);

// The page of a paged list to show when `wanted` was asked for and there are
// `pageCount` pages: no further than the last page and never below 1 (an empty list
// shows page 1 of 0).
int ClampPage(int wanted, int pageCount);

// The general page's controls.
struct GeneralSettings {
    bool onlyChildSites = false;    // 1008
    bool exitNeedPassword = false;  // 1009
    bool loginBeforeManage = false; // 1010
    bool useOwnHomePage = false;    // 1044
    QString homePage;               // 1045
};
GeneralSettings GeneralSettingsOf(const ConfigRecord& record);

// The home page member holds this many bytes of UTF-8 before its terminating zero.
inline constexpr int kHomePageMaxBytes = int(sizeof(ConfigRecord::m_szHomePage)) - 1;

enum class GeneralSave { Write, EmptyHomePage, HomePageTooLong, HomePageControlCharacter };
// The general page's "保存": the four switches are copied first, whatever follows. While
// the own home page is on, the trimmed address replaces the stored one; an empty address,
// one longer than the member holds or one with a control character inside (a line break,
// a tab, a zero that would cut it short) is refused and leaves the stored address alone.
// With the own home page off the stored address is never touched.
GeneralSave ApplyGeneralSettings(ConfigRecord& record, const GeneralSettings& page);
// True when the general page's controls would store something other than the record holds;
// the address counts only while the own home page is on, as only then is it stored.
bool GeneralSettingsDiffer(const ConfigRecord& record, const GeneralSettings& page);

// What "仅访问儿童网站" means for the stored settings, with the browser's own rule for
// which addresses a recommended site opens: with no site at all every page the child
// opens is refused, and a home page no site covers is refused at every start.
enum class ChildSitesCoverage { NotRestricted, Covered, NoSites, HomePageNotCovered };
ChildSitesCoverage CheckChildSitesCoverage(const ConfigRecord& record, const QStringList& siteUrls);

// The general page's "默认设置": the three switches on; the home page stays.
void ApplyGeneralDefaults(ConfigRecord& record);

// The daily allowance the time page accepts while the limit is on: the browser cannot
// honour 0 or less (it would lock at once) and a day has no more minutes than this.
inline constexpr int kMinLimitMinutes = 1;
inline constexpr int kMaxLimitMinutes = 24 * 60;
// The allowance "默认设置" restores, with the limit off: the installer's.
inline constexpr int kDefaultLimitMinutes = 10;

enum class TimeLimitSave { Write, MinutesOutOfRange };
// The time page's "保存": the switch and the converted number. With the limit off the
// number is stored as typed (it has no effect then); with the limit on a number outside
// kMinLimitMinutes..kMaxLimitMinutes is refused and the record is left as it was.
TimeLimitSave ApplyTimeLimit(ConfigRecord& record, bool limitOn, const QString& minutesText);
// True when the time page's controls would store something other than the record holds.
bool TimeLimitDiffers(const ConfigRecord& record, bool limitOn, const QString& minutesText);
// The time page's "默认设置": no limit, with the installer's allowance kept ready.
void ApplyTimeLimitDefaults(ConfigRecord& record);

enum class PasswordChange { EmptyCurrent, WrongCurrent, EmptyNew, Mismatch, Accepted };
// The password page's checks, in the order the parent hears of them. Nothing is trimmed;
// the new password and its repetition must be the same bytes. A new password of blanks
// only counts as empty: it could not be told from none when typed at the login.
PasswordChange CheckPasswordChange(const QString& current, const QString& next, const QString& again,
                                   const ConfigRecord& record);
