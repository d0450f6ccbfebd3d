// The configuration record load, with and without a last good copy beside the file: any
// bytes give either the whole record from one of the two files or the whole defaults,
// and what the browser then computes from it stays in range.

#include "fuzzsupport.h"

#include "configmanager.h"
#include "navigationpolicy.h"
#include "parentpassword.h"
#include "timelimit.h"

#include <QFile>

#include <cstring>

namespace {

ConfigRecord goodRecord()
{
    CConfigManager defaults;
    defaults.SetDefaultConfig();
    defaults.m_record.m_nLimitMinutes = 42;
    return defaults.m_record;
}

bool sameRecord(const ConfigRecord& a, const ConfigRecord& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = Fuzz::ScratchFolder() + QStringLiteral("/lorvane.cfg");
    const QString copy = path + QLatin1String(kLastGoodSuffix);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Fuzz::WriteFile(path, bytes);
    // An odd length leaves no copy beside the file; an even one a good copy.
    const bool withCopy = size % 2 == 0;
    const ConfigRecord good = goodRecord();
    if (withCopy)
        Fuzz::WriteFile(copy, QByteArray(reinterpret_cast<const char*>(&good), sizeof good));
    else
        QFile::remove(copy);

    CConfigManager config;
    FUZZ_CHECK(config.SetConfigPathName(path.toLocal8Bit().constData()) == 0, path);
    const bool loaded = config.LoadConfigFromFile();
    const ConfigRecord& record = config.m_record;
    if (size == sizeof(ConfigRecord)) {
        ConfigRecord expected;
        std::memcpy(&expected, data, sizeof expected);
        expected.m_szPassword[sizeof expected.m_szPassword - 1] = '\0';
        expected.m_szHomePage[sizeof expected.m_szHomePage - 1] = '\0';
        FUZZ_CHECK(loaded && config.LoadedFrom() == ConfigSource::File && sameRecord(record, expected),
                   QStringLiteral("a whole record was not read as it stands"));
    } else if (withCopy) {
        FUZZ_CHECK(loaded && config.LoadedFrom() == ConfigSource::LastGoodCopy && sameRecord(record, good),
                   QStringLiteral("a damaged file did not fall back to the last good copy"));
    } else {
        CConfigManager defaults;
        defaults.SetDefaultConfig();
        FUZZ_CHECK(!loaded && config.LoadedFrom() == ConfigSource::Damaged && sameRecord(record, defaults.m_record),
                   QStringLiteral("a damaged file without a copy did not give the defaults"));
    }

    // What the browser derives from the record.
    const uint32_t allowance = TimeLimit::AllowanceMs(record.m_nLimitMinutes);
    FUZZ_CHECK(allowance <= 71582u * 60000u, QString::number(allowance));
    FUZZ_CHECK(record.m_nLimitMinutes < 0 ? allowance == 0 : true, QStringLiteral("negative minutes give time"));
    FUZZ_CHECK(StoredPasswordHash(record).size() < qsizetype(sizeof record.m_szPassword), QStringLiteral("hash past its field"));
    const PasswordCheck check = CheckParentPassword(QStringLiteral("x"), record);
    FUZZ_CHECK(check != PasswordCheck::Accepted || StoredPasswordHash(record) == ParentPasswordHash(QStringLiteral("x")),
               QStringLiteral("a password accepted against another hash"));
    const NavigationPolicy::Mode mode = NavigationPolicy::ModeFor(record.m_bOnlyChildSites, false);
    FUZZ_CHECK((mode == NavigationPolicy::Mode::ChildSites) == (record.m_bOnlyChildSites == 1), QStringLiteral("switch misread"));
    const QString home = QString::fromLocal8Bit(record.m_szHomePage);
    (void)NavigationPolicy::TypedAddress(home, mode);
    return 0;
}
