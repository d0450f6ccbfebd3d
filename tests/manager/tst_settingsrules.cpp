#include "historyrules.h"
#include "passwordcheck.h"
#include "settingsrules.h"

#include <QTextDocument>
#include <QtTest>

#include <cstring>
#include <limits>

Q_DECLARE_METATYPE(GeneralSave)
Q_DECLARE_METATYPE(TimeLimitSave)
Q_DECLARE_METATYPE(PasswordChange)

namespace {

void setHome(ConfigRecord& r, const QByteArray& home)
{
    std::memset(r.m_szHomePage, 0, sizeof r.m_szHomePage);
    std::memcpy(r.m_szHomePage, home.constData(), std::size_t(home.size()));
}

QByteArray homeOf(const ConfigRecord& r)
{
    return QByteArray(r.m_szHomePage, qsizetype(qstrnlen(r.m_szHomePage, sizeof r.m_szHomePage)));
}

ConfigRecord sampleRecord()
{
    ConfigRecord r{};
    r.m_bLimitTime = 1;
    r.m_nLimitMinutes = 45;
    r.m_nReserved = 77;
    r.m_bUseOwnHomePage = 1;
    setHome(r, "http://old.example/");
    StorePassword(r, QStringLiteral("secret"));
    return r;
}

} // namespace

class TestSettingsRules : public QObject
{
    Q_OBJECT

private slots:
    void decimalConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("asInt");
        QTest::newRow("empty gives 0") << "" << qint64(0) << 0;
        QTest::newRow("letters give 0") << "abc" << qint64(0) << 0;
        QTest::newRow("leading blanks skipped") << " \t 42" << qint64(42) << 42;
        QTest::newRow("stops at the first non-digit") << "42abc7" << qint64(42) << 42;
        QTest::newRow("a blank ends the number") << "4 2" << qint64(4) << 4;
        QTest::newRow("minus sign") << "-5" << qint64(-5) << -5;
        QTest::newRow("plus sign") << "+7" << qint64(7) << 7;
        QTest::newRow("sign alone") << "-" << qint64(0) << 0;
        QTest::newRow("full-width digits are not digits") << "１２" << qint64(0) << 0;
        QTest::newRow("beyond int saturates the int") << "99999999999" << qint64(99999999999) << INT_MAX;
        QTest::newRow("below int saturates the int") << "-99999999999" << qint64(-99999999999) << INT_MIN;
        QTest::newRow("beyond 64 bits saturates")
            << "999999999999999999999999" << std::numeric_limits<qint64>::max() << INT_MAX;
    }
    void decimalConversion()
    {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QFETCH(int, asInt);
        QCOMPARE(LeadingDecimal(text), value);
        QCOMPARE(LeadingDecimalInt(text), asInt);
    }

    void generalSave_data()
    {
        QTest::addColumn<bool>("ownHome");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<GeneralSave>("result");
        QTest::addColumn<QByteArray>("storedHome");
        const QByteArray old = "http://old.example/";
        QTest::newRow("own home page off keeps the stored address whatever is typed")
            << false << "http://new.example/" << GeneralSave::Write << old;
        QTest::newRow("own home page off with an empty edit") << false << "" << GeneralSave::Write << old;
        QTest::newRow("the typed address is stored trimmed")
            << true << "  http://new.example/\t" << GeneralSave::Write << QByteArray("http://new.example/");
        QTest::newRow("blanks only are refused") << true << " \t " << GeneralSave::EmptyHomePage << old;
        QTest::newRow("empty is refused") << true << "" << GeneralSave::EmptyHomePage << old;
        QTest::newRow("2599 bytes fill the member")
            << true << "http://a/" + QString(2590, QLatin1Char('x')) << GeneralSave::Write
            << "http://a/" + QByteArray(2590, 'x');
        QTest::newRow("2600 bytes are refused, not cut")
            << true << "http://a/" + QString(2591, QLatin1Char('x')) << GeneralSave::HomePageTooLong << old;
        QTest::newRow("characters are counted in stored bytes")
            << true << "http://a/" + QString(864, QChar(0x4e2d)) << GeneralSave::HomePageTooLong << old;
        QTest::newRow("multi-byte address that fits")
            << true << "http://a/" + QString(863, QChar(0x4e2d)) << GeneralSave::Write
            << ("http://a/" + QString(863, QChar(0x4e2d))).toUtf8();
        QTest::newRow("a tab inside is refused")
            << true << "http://a/\tb" << GeneralSave::HomePageControlCharacter << old;
        QTest::newRow("a zero inside is refused")
            << true << QStringLiteral("http://a/") + QChar(0) + QStringLiteral("b")
            << GeneralSave::HomePageControlCharacter << old;
        QTest::newRow("quotes and percent signs are kept as typed")
            << true << "http://a/?q='x'%s\"" << GeneralSave::Write << QByteArray("http://a/?q='x'%s\"");
    }
    void generalSave()
    {
        QFETCH(bool, ownHome);
        QFETCH(QString, typed);
        QFETCH(GeneralSave, result);
        QFETCH(QByteArray, storedHome);
        ConfigRecord r = sampleRecord();
        const ConfigRecord before = r;
        GeneralSettings s;
        s.onlyChildSites = true;
        s.exitNeedPassword = false;
        s.loginBeforeManage = true;
        s.useOwnHomePage = ownHome;
        s.homePage = typed;
        QCOMPARE(ApplyGeneralSettings(r, s), result);
        QCOMPARE(homeOf(r), storedHome);
        // The switches are copied first, even when the address is refused.
        QCOMPARE(r.m_bOnlyChildSites, 1);
        QCOMPARE(r.m_bExitNeedPassword, 0);
        QCOMPARE(r.m_bLoginBeforeManage, 1);
        QCOMPARE(r.m_bUseOwnHomePage, ownHome ? 1 : 0);
        // Nothing else of the record moves.
        QCOMPARE(r.m_bLimitTime, before.m_bLimitTime);
        QCOMPARE(r.m_nLimitMinutes, before.m_nLimitMinutes);
        QCOMPARE(r.m_nReserved, before.m_nReserved);
        QCOMPARE(StoredPasswordHash(r), StoredPasswordHash(before));
        // The member always ends in a zero within its bounds.
        QVERIFY(qstrnlen(r.m_szHomePage, sizeof r.m_szHomePage) < sizeof r.m_szHomePage);
    }

    void shorterAddressLeavesNothingOfTheLongerOne()
    {
        ConfigRecord r = sampleRecord();
        setHome(r, QByteArray(2000, 'y'));
        GeneralSettings s = GeneralSettingsOf(r);
        s.homePage = QStringLiteral("http://b/");
        QCOMPARE(ApplyGeneralSettings(r, s), GeneralSave::Write);
        QCOMPARE(homeOf(r), QByteArray("http://b/"));
        QCOMPARE(QByteArray(r.m_szHomePage + 9, 2591), QByteArray(2591, '\0'));
    }

    void generalSettingsReadTheRecord_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("on");
        QTest::newRow("0 is off") << 0 << false;
        QTest::newRow("1 is on") << 1 << true;
        QTest::newRow("any other value shows as on") << 2 << true;
    }
    void generalSettingsReadTheRecord()
    {
        QFETCH(int, value);
        QFETCH(bool, on);
        ConfigRecord r{};
        r.m_bOnlyChildSites = r.m_bExitNeedPassword = r.m_bLoginBeforeManage = r.m_bUseOwnHomePage = value;
        std::memset(r.m_szHomePage, 'z', sizeof r.m_szHomePage); // no terminating zero at all
        const GeneralSettings s = GeneralSettingsOf(r);
        QCOMPARE(s.onlyChildSites, on);
        QCOMPARE(s.exitNeedPassword, on);
        QCOMPARE(s.loginBeforeManage, on);
        QCOMPARE(s.useOwnHomePage, on);
        QCOMPARE(s.homePage.size(), qsizetype(sizeof r.m_szHomePage));
    }

    void generalDefaultsTurnTheThreeSwitchesOn()
    {
        ConfigRecord r = sampleRecord();
        r.m_bUseOwnHomePage = 0;
        const ConfigRecord before = r;
        ApplyGeneralDefaults(r);
        QCOMPARE(r.m_bOnlyChildSites, 1);
        QCOMPARE(r.m_bExitNeedPassword, 1);
        QCOMPARE(r.m_bLoginBeforeManage, 1);
        QCOMPARE(r.m_bUseOwnHomePage, 0);
        QCOMPARE(homeOf(r), homeOf(before));
        QCOMPARE(r.m_nLimitMinutes, before.m_nLimitMinutes);
    }

    void timeLimit_data()
    {
        QTest::addColumn<bool>("limitOn");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<TimeLimitSave>("result");
        QTest::addColumn<int>("storedSwitch");
        QTest::addColumn<int>("storedMinutes");
        // The record starts with the limit on at 45 minutes.
        QTest::newRow("limit on, 30 minutes") << true << "30" << TimeLimitSave::Write << 1 << 30;
        QTest::newRow("limit on, blanks and a unit") << true << " 90分钟" << TimeLimitSave::Write << 1 << 90;
        QTest::newRow("limit on, the least") << true << "1" << TimeLimitSave::Write << 1 << 1;
        QTest::newRow("limit on, a whole day") << true << "1440" << TimeLimitSave::Write << 1 << 1440;
        QTest::newRow("limit on, more than a day") << true << "1441" << TimeLimitSave::MinutesOutOfRange << 1 << 45;
        QTest::newRow("limit on, so many the browser's milliseconds wrap")
            << true << "71583" << TimeLimitSave::MinutesOutOfRange << 1 << 45;
        QTest::newRow("limit on, 0 would lock at once") << true << "0" << TimeLimitSave::MinutesOutOfRange << 1 << 45;
        QTest::newRow("limit on, letters") << true << "abc" << TimeLimitSave::MinutesOutOfRange << 1 << 45;
        QTest::newRow("limit on, negative") << true << "-5" << TimeLimitSave::MinutesOutOfRange << 1 << 45;
        QTest::newRow("limit off keeps the number shown") << false << "45" << TimeLimitSave::Write << 0 << 45;
        QTest::newRow("limit off stores letters as 0") << false << "abc" << TimeLimitSave::Write << 0 << 0;
        QTest::newRow("limit off stores any number") << false << "5000" << TimeLimitSave::Write << 0 << 5000;
    }
    void timeLimit()
    {
        QFETCH(bool, limitOn);
        QFETCH(QString, typed);
        QFETCH(TimeLimitSave, result);
        QFETCH(int, storedSwitch);
        QFETCH(int, storedMinutes);
        ConfigRecord r = sampleRecord();
        QCOMPARE(ApplyTimeLimit(r, limitOn, typed), result);
        QCOMPARE(r.m_bLimitTime, storedSwitch);
        QCOMPARE(r.m_nLimitMinutes, storedMinutes);
        QCOMPARE(homeOf(r), QByteArray("http://old.example/"));
    }

    void timeDefaultsAreTheInstallersLimit()
    {
        ConfigRecord r = sampleRecord();
        ApplyTimeLimitDefaults(r);
        QCOMPARE(r.m_bLimitTime, 0);
        QCOMPARE(r.m_nLimitMinutes, 10);
        QCOMPARE(r.m_nReserved, 77);
    }

    void passwordChecksInTheirOrder_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("again");
        QTest::addColumn<PasswordChange>("result");
        QTest::newRow("empty current before everything") << "" << "" << "x" << PasswordChange::EmptyCurrent;
        QTest::newRow("wrong current before an empty new one") << "wrong" << "" << "" << PasswordChange::WrongCurrent;
        QTest::newRow("wrong current with matching new ones")
            << "wrong" << "new" << "new" << PasswordChange::WrongCurrent;
        QTest::newRow("current differs in case") << "SECRET" << "new" << "new" << PasswordChange::WrongCurrent;
        QTest::newRow("current is not trimmed") << " secret" << "new" << "new" << PasswordChange::WrongCurrent;
        QTest::newRow("empty new even with the repetition filled")
            << "secret" << "" << "new" << PasswordChange::EmptyNew;
        QTest::newRow("repetition differs") << "secret" << "new" << "New" << PasswordChange::Mismatch;
        QTest::newRow("repetition with a trailing blank") << "secret" << "new" << "new " << PasswordChange::Mismatch;
        QTest::newRow("accepted") << "secret" << "new" << "new" << PasswordChange::Accepted;
        QTest::newRow("the same password again") << "secret" << "secret" << "secret" << PasswordChange::Accepted;
        QTest::newRow("blanks only count as empty") << "secret" << "  " << "  " << PasswordChange::EmptyNew;
        QTest::newRow("a tab only counts as empty") << "secret" << "\t" << "\t" << PasswordChange::EmptyNew;
        QTest::newRow("blanks around a password are kept") << "secret" << " a " << " a " << PasswordChange::Accepted;
    }
    void passwordChecksInTheirOrder()
    {
        QFETCH(QString, current);
        QFETCH(QString, next);
        QFETCH(QString, again);
        QFETCH(PasswordChange, result);
        QCOMPARE(CheckPasswordChange(current, next, again, sampleRecord()), result);
    }

    void historyPageClamping_data()
    {
        QTest::addColumn<int>("wanted");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("shown");
        QTest::newRow("within") << 2 << 3 << 2;
        QTest::newRow("past the last page") << 99 << 3 << 3;
        QTest::newRow("page 0") << 0 << 3 << 1;
        QTest::newRow("negative") << -4 << 3 << 1;
        QTest::newRow("empty history shows page 1 of 0") << 5 << 0 << 1;
        QTest::newRow("largest number") << INT_MAX << 7 << 7;
    }
    void historyPageClamping()
    {
        QFETCH(int, wanted);
        QFETCH(int, pages);
        QFETCH(int, shown);
        QCOMPARE(ClampPage(wanted, pages), shown);
    }

    void durationText_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("hours, minutes and seconds") << "3725" << "1小时2分5秒";
        QTest::newRow("a minute") << "60" << "1分";
        QTest::newRow("two hours") << "7200" << "2小时";
        QTest::newRow("zero shows as no seconds") << "0" << "0秒";
        QTest::newRow("59 seconds") << "59" << "59秒";
        QTest::newRow("an hour and a second") << "3601" << "1小时1秒";
        QTest::newRow("a day") << "86400" << "24小时";
        QTest::newRow("beyond 32-bit signed") << "4000000000" << "1111111小时6分40秒";
        QTest::newRow("letters") << "abc" << "0秒";
        QTest::newRow("negative") << "-5" << "0秒";
    }
    void durationText()
    {
        QFETCH(QString, stored);
        QFETCH(QString, text);
        QCOMPARE(DurationText(stored), text);
    }

    void visibleAddressText_data()
    {
        QTest::addColumn<QString>("recorded");
        QTest::addColumn<QString>("shown");
        const QString base = QStringLiteral("http://a.test/");
        QTest::newRow("plain address unchanged") << base + "evil" << base + "evil";
        QTest::newRow("right-to-left override") << base + QChar(0x202E) + "live" << base + "<U+202E>live";
        QTest::newRow("embeddings and pop") << base + QChar(0x202A) + "a" + QChar(0x202B) + "b" + QChar(0x202C)
                                            << base + "<U+202A>a<U+202B>b<U+202C>";
        QTest::newRow("marks") << QString(QChar(0x200E)) + QChar(0x200F) + QChar(0x061C) << "<U+200E><U+200F><U+061C>";
        QTest::newRow("isolates") << QString(QChar(0x2066)) + QChar(0x2067) + QChar(0x2068) + QChar(0x2069)
                                  << "<U+2066><U+2067><U+2068><U+2069>";
        QTest::newRow("right-to-left letters stay letters") << QStringLiteral("http://שלום.test/")
                                                            << QStringLiteral("http://שלום.test/");
        QTest::newRow("zero width joiner is not a direction mark") << QString(QChar(0x200D))
                                                                   << QString(QChar(0x200D));
    }
    void visibleAddressText()
    {
        QFETCH(QString, recorded);
        QFETCH(QString, shown);
        QCOMPARE(VisibleAddressText(recorded), shown);
    }

    void addressToolTip_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("lines");
        const QString x80(kToolTipLineLength, QLatin1Char('x'));
        QTest::newRow("short") << QStringLiteral("http://a.test/") << QStringList{"http://a.test/"};
        QTest::newRow("markup stays text") << QStringLiteral("http://a.test/<b>&amp;</b>")
                                           << QStringList{"http://a.test/<b>&amp;</b>"};
        QTest::newRow("one line exactly") << x80 << QStringList{x80};
        QTest::newRow("two lines") << x80 + "yz" << QStringList{x80, "yz"};
        QTest::newRow("all lines exactly") << x80.repeated(kToolTipLines) << QStringList(kToolTipLines, x80);
        QStringList cut(kToolTipLines, x80);
        cut.last() = x80.left(kToolTipLineLength - 1) + QChar(0x2026);
        QTest::newRow("longer is cut") << x80.repeated(kToolTipLines) + "y" << cut;
        QTest::newRow("direction mark written out") << QStringLiteral("a") + QChar(0x202E) + "b"
                                                    << QStringList{"a<U+202E>b"};
    }
    void addressToolTip()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, lines);
        QTextDocument shown;
        shown.setHtml(AddressToolTip(address));
        QCOMPARE(shown.toPlainText().split(QLatin1Char('\n')), lines);
    }

    void webAddressToOpen_data()
    {
        QTest::addColumn<QString>("visited");
        QTest::addColumn<QString>("opened");
        QTest::newRow("http") << "http://a.test/x?y=1" << "http://a.test/x?y=1";
        QTest::newRow("https is a web address too") << "https://b.test/" << "https://b.test/";
        QTest::newRow("scheme in capitals") << "HTTP://C.TEST/" << "http://c.test/";
        QTest::newRow("surrounding blanks") << "  http://d.test/ " << "http://d.test/";
        QTest::newRow("the browser's start row") << "打开Lorvane" << "";
        QTest::newRow("the browser's close row") << "关闭Lorvane" << "";
        QTest::newRow("a local file") << "file:///etc/passwd" << "";
        QTest::newRow("a local file that mentions http") << "file:///tmp/x.html#http://e.test/" << "";
        QTest::newRow("script mentioning http") << "javascript:alert('http://e.test/')" << "";
        QTest::newRow("another scheme") << "ftp://f.test/" << "";
        QTest::newRow("no host") << "http://" << "";
        QTest::newRow("text before the scheme") << "see http://g.test/" << "";
        QTest::newRow("empty") << "" << "";
    }
    void webAddressToOpen()
    {
        QFETCH(QString, visited);
        QFETCH(QString, opened);
        QCOMPARE(WebAddressToOpen(visited).toString(), opened);
    }

    void historyRowLooks_data()
    {
        QTest::addColumn<bool>("focus");
        QTest::addColumn<bool>("current");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<bool>("frame");
        const QColor light(231, 240, 245);
        const QColor red(255, 0, 0);
        const QColor white(Qt::white);
        const QColor black(Qt::black);
        QTest::newRow("focused list, current row") << true << true << true << light << red << true;
        QTest::newRow("focused list, current row not selected") << true << true << false << light << red << true;
        QTest::newRow("focused list, another selected row") << true << false << true << light << red << false;
        QTest::newRow("focused list, plain row") << true << false << false << white << black << false;
        QTest::newRow("no focus, current selected row") << false << true << true << white << black << false;
        QTest::newRow("no focus, plain row") << false << false << false << white << black << false;
    }
    void historyRowLooks()
    {
        QFETCH(bool, focus);
        QFETCH(bool, current);
        QFETCH(bool, selected);
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        QFETCH(bool, frame);
        QCOMPARE(HistoryRowLookFor(focus, current, selected), (HistoryRowLook{background, text, frame}));
    }

    void historyHeaderPieces_data()
    {
        QTest::addColumn<QRect>("section");
        QTest::addColumn<QRect>("text");
        QTest::addColumn<QRect>("shade");
        QTest::addColumn<QRect>("line");
        QTest::newRow("first column") << QRect(0, 0, 150, 23) << QRect(2, 2, 126, 19) << QRect(146, 0, 3, 23)
                                      << QRect(149, 0, 1, 23);
        QTest::newRow("second column") << QRect(150, 0, 415, 22) << QRect(152, 2, 391, 18) << QRect(561, 0, 3, 22)
                                       << QRect(564, 0, 1, 22);
    }
    void historyHeaderPieces()
    {
        QFETCH(QRect, section);
        QFETCH(QRect, text);
        QFETCH(QRect, shade);
        QFETCH(QRect, line);
        const HistoryHeaderSection s = LayoutHistoryHeaderSection(section);
        QCOMPARE(s.text, text);
        QCOMPARE(s.shade, shade);
        QCOMPARE(s.line, line);
        QVERIFY(section.contains(s.shade) && section.contains(s.line));
    }
};

QTEST_GUILESS_MAIN(TestSettingsRules)
#include "tst_settingsrules.moc"
