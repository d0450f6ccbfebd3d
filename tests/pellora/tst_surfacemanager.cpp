#include "skintest.h"

#include <pellora/colorref.h>
#include <pellora/surfacemanager.h>

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Pellora;

using SM = CSurfaceManager;

class TestSurfaceManager : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString skin(const QString& name, const QByteArray& text) { return SkinTest::writeText(m_dir.path(), name, text); }
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

private slots:
    void keyTableIsComplete()
    {
        QCOMPARE(SM::ImageKeys().size(), 85);
        QCOMPARE(SM::ColorKeys().size(), 7);
        QSet<QString*> members;
        QSet<QString> keys;
        for (const SM::ImageKey& k : SM::ImageKeys()) {
            members.insert(k.member);
            keys.insert(QLatin1String(k.section) + QLatin1Char('/') + QLatin1String(k.key));
        }
        QCOMPARE(members.size(), 85);
        QCOMPARE(keys.size(), 85);
    }

    void colorParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("parsed");
        QTest::addColumn<QColor>("color");
        QTest::newRow("ff is red") << "ff" << true << QColor(255, 0, 0);
        QTest::newRow("ff0000 is blue") << "ff0000" << true << QColor(0, 0, 255);
        QTest::newRow("00ff00 is green") << "00ff00" << true << QColor(0, 255, 0);
        QTest::newRow("0x prefix") << "0x0000ff" << true << QColor(255, 0, 0);
        QTest::newRow("upper-case prefix and digits") << "0XFF8000" << true << QColor(0, 128, 255);
        QTest::newRow("blanks before") << "  8040c0" << true << QColor(0xc0, 0x40, 0x80);
        QTest::newRow("trailing text ignored") << "ff0000 blue" << true << QColor(0, 0, 255);
        QTest::newRow("0x without digits reads 0") << "0xg" << true << QColor(0, 0, 0);
        QTest::newRow("empty") << "" << false << QColor();
        QTest::newRow("not hexadecimal") << "white" << false << QColor();
        QTest::newRow("negative") << "-1" << false << QColor();
        QTest::newRow("over 32 bits") << "1ffffffff" << false << QColor();
    }
    void colorParsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, parsed);
        QFETCH(QColor, color);
        unsigned long value = 0xabcdef;
        QCOMPARE(ParseColorRef(text, &value), parsed);
        if (parsed)
            QCOMPARE(ColorRefToQColor(value), color);
        else
            QCOMPARE(value, 0xabcdeful);
    }

    void colorRefRoundTrip()
    {
        QCOMPARE(MakeColorRef(0x12, 0x34, 0x56), 0x563412ul);
        QCOMPARE(QColorToColorRef(QColor(0x12, 0x34, 0x56)), 0x563412ul);
        // The byte above blue does not change the colour.
        QCOMPARE(ColorRefToQColor(0x01563412ul), QColor(0x12, 0x34, 0x56));
    }

    void normalTextColorReadsAsColorRef_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QColor>("color");
        QTest::newRow("ff gives red text") << QByteArray("ff") << QColor(255, 0, 0);
        QTest::newRow("ff0000 gives blue text") << QByteArray("ff0000") << QColor(0, 0, 255);
    }
    void normalTextColorReadsAsColorRef()
    {
        QFETCH(QByteArray, value);
        QFETCH(QColor, color);
        SM::LoadFromFile(skin(QStringLiteral("text.ini"), "[SUFACE_COLOR]\nTABNORMALTEXTCOLOR=" + value + "\n"));
        QCOMPARE(ColorRefToQColor(SM::m_TabNormalTextColor), color);
    }

    void colorsCarryOverWhenMissingOrUnreadable()
    {
        SM::LoadFromFile(skin(QStringLiteral("first.ini"), "[SUFACE_COLOR]\n"
                                                         "TABACTIVETEXTCOLOR=0x112233\n"
                                                         "TABNORMALTEXTCOLOR=0x445566\n"
                                                         "TABCTRLBCKCOLOR=0x778899\n"
                                                         "TABCTRLBDRCOLOR=0xaabbcc\n"
                                                         "STATUSTEXTCOLOR=0xddeeff\n"
                                                         "ADDRESSCOMBOBACKCOLOR=0x010203\n"
                                                         "ADDFAVORDLGBACKCOLOR=0x040506\n"));
        QCOMPARE(SM::m_AddFavorDlgBkColor, 0x040506ul);
        // No colour section at all, then a section with an unreadable value and one good one.
        SM::LoadFromFile(skin(QStringLiteral("nocolors.ini"), "[SUFACE_IMAGE]\nTABBACKGROUND=bg.bmp\n"));
        QCOMPARE(SM::m_TabActiveTextColor, 0x112233ul);
        QCOMPARE(SM::m_TabNormalTextColor, 0x445566ul);
        QCOMPARE(SM::m_CoolTabCtrlBkColor, 0x778899ul);
        QCOMPARE(SM::m_CoolTabCtrlBorderColor, 0xaabbccul);
        QCOMPARE(SM::m_StatusTextColor, 0xddeefful);
        QCOMPARE(SM::m_AddressComboBoxBkColor, 0x010203ul);
        QCOMPARE(SM::m_AddFavorDlgBkColor, 0x040506ul);
        SM::LoadFromFile(skin(QStringLiteral("partial.ini"), "[SUFACE_COLOR]\nSTATUSTEXTCOLOR=white\n"
                                                           "TABCTRLBCKCOLOR=ff\n"));
        QCOMPARE(SM::m_StatusTextColor, 0xddeefful);
        QCOMPARE(SM::m_CoolTabCtrlBkColor, 0xfful);
    }

    void imagePathsJoinTheSkinFolder_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file name") << QByteArray("TABBACKGROUND=bg.bmp") << QStringLiteral("bg.bmp");
        QTest::newRow("empty value gives the folder") << QByteArray("TABBACKGROUND=") << QString();
        QTest::newRow("missing key gives the folder") << QByteArray("LOGOPICTURE=logo.bmp") << QString();
        QTest::newRow("sub-folder with backslash") << QByteArray("TABBACKGROUND=tabs\\bg.bmp")
                                                   << QStringLiteral("tabs/bg.bmp");
        QTest::newRow("absolute value still joined") << QByteArray("TABBACKGROUND=/etc/passwd")
                                                     << QStringLiteral("/etc/passwd");
        QTest::newRow("quoted value") << QByteArray("TABBACKGROUND=\"my bg.bmp\"") << QStringLiteral("my bg.bmp");
    }
    void imagePathsJoinTheSkinFolder()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, expected);
        SM::LoadFromFile(skin(QStringLiteral("paths.ini"), "[SUFACE_IMAGE]\n" + line + "\n"));
        QCOMPARE(SM::m_strTabBackGround, folder() + expected);
        QVERIFY(SM::m_strTabBackGround.startsWith(folder()));
    }

    void everyImageIsOverwrittenByTheNextSkin()
    {
        SM::LoadFromFile(skin(QStringLiteral("a.ini"), "[COMMON_BUTTON]\nFACEBUTTONMMD=mid.bmp\n"));
        QCOMPARE(SM::m_strFaceButtonNormalMiddle, folder() + QStringLiteral("mid.bmp"));
        QTemporaryDir other;
        const QString path = SkinTest::writeText(other.path(), QStringLiteral("b.ini"), "[SUFACE_IMAGE]\n");
        SM::LoadFromFile(path);
        for (const SM::ImageKey& k : SM::ImageKeys())
            QCOMPARE(*k.member, other.path() + QLatin1Char('/'));
    }

    void misspelledKeysAreTheOnesRead()
    {
        SM::LoadFromFile(skin(QStringLiteral("spelling.ini"), "[SUFACE_IMAGE]\n"
                                                            "FORWORDNORMAL=fwd.bmp\n"
                                                            "FORWARDNORMAL=wrong.bmp\n"
                                                            "TABFORWARDBUTTONDISALBE=dis.bmp\n"
                                                            "TABFORWARDBUTTONDISABLE=wrong.bmp\n"
                                                            "[COMMON_BUTTON]\n"
                                                            "FACEBUTTONMMD=mmd.bmp\n"
                                                            "[SURFACE_IMAGE]\n"
                                                            "TABBACKGROUND=wrong.bmp\n"));
        QCOMPARE(SM::m_strForwordNormal, folder() + QStringLiteral("fwd.bmp"));
        QCOMPARE(SM::m_strTabForwordButtonDisable, folder() + QStringLiteral("dis.bmp"));
        QCOMPARE(SM::m_strFaceButtonNormalMiddle, folder() + QStringLiteral("mmd.bmp"));
        QCOMPARE(SM::m_strTabBackGround, folder());
    }

    void rightBorderComesFromTheLeftNamedKey()
    {
        SM::LoadFromFile(skin(QStringLiteral("borders.ini"), "[COMMON_FACE]\n"
                                                           "FACEDIALOGLEFTBORDER=left.bmp\n"
                                                           "FACEDIALOGBORDERLEFT=right.bmp\n"));
        QCOMPARE(SM::m_strFaceDialogBorderLeft, folder() + QStringLiteral("left.bmp"));
        QCOMPARE(SM::m_strFaceDialogBorderRight, folder() + QStringLiteral("right.bmp"));
        SM::LoadFromFile(skin(QStringLiteral("rightonly.ini"), "[COMMON_FACE]\nFACEDIALOGBORDERRIGHT=right.bmp\n"));
        QCOMPARE(SM::m_strFaceDialogBorderRight, folder());
    }

    void folderWithSpacesAndLongNames()
    {
        const QString sub = m_dir.path() + QStringLiteral("/A skin folder with a rather long name 皮肤");
        QVERIFY(QDir().mkpath(sub));
        SM::LoadFromFile(SkinTest::writeText(sub, QStringLiteral("skin definition.ini"),
                                             "[SUFACE_PREV]\nPREV_DIALOG_BACKGROUND=back ground.bmp\n"));
        QCOMPARE(SM::m_strPreviewSkinSelectDialog, sub + QStringLiteral("/back ground.bmp"));
    }

    void missingOrBrokenFilesLeaveBareFolders_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("create");
        QTest::newRow("missing file") << QByteArray() << false;
        QTest::newRow("binary garbage") << QByteArrayLiteral("\x00\xff\x13[[[=\n\x01") << true;
        QTest::newRow("truncated section") << QByteArray("[SUFACE_IMA") << true;
    }
    void missingOrBrokenFilesLeaveBareFolders()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, create);
        SM::LoadFromFile(skin(QStringLiteral("keep.ini"), "[SUFACE_COLOR]\nSTATUSTEXTCOLOR=0x123456\n"));
        const QString path = create ? skin(QStringLiteral("broken.ini"), content) : folder() + QStringLiteral("none.ini");
        SkinTest::LoggedWarnings log;
        SM::LoadFromFile(path);
        QCOMPARE(SM::m_strTabCloseButton, folder());
        QCOMPARE(SM::m_StatusTextColor, 0x123456ul);
        // A file that is not there is told once; what a file holds is the skin's own affair.
        const QStringList warnings = log.in(QStringLiteral("lorvane.skin"));
        QCOMPARE(warnings.size(), create ? 0 : 1);
        if (!create)
            QVERIFY2(warnings.first().contains(path), qPrintable(warnings.first()));
    }

    void pathWithoutFolderGivesBareValues()
    {
        QCOMPARE(SM::SkinFolder(QStringLiteral("skin.ini")), QString());
        QCOMPARE(SM::SkinFolder(QStringLiteral("/a/b/skin.ini")), QStringLiteral("/a/b/"));
        QCOMPARE(SM::SkinFolder(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
    }
};

QTEST_GUILESS_MAIN(TestSurfaceManager)
#include "tst_surfacemanager.moc"
