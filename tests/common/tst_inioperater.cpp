#include "inioperater.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestIniOperater : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString write(const QByteArray& content)
    {
        const QString path = m_dir.filePath(QStringLiteral("t%1.ini").arg(m_count++));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write test file");
        return path;
    }
    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    int m_count = 0;

private slots:
    void readString_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray skin = "[SUFACE_IMAGE]\r\nTABNORMAL = tab.bmp \r\n; a comment=x\r\n[SUFACE_COLOR]\r\nTEXT=ff\r\n";
        QTest::newRow("plain value, blanks around it dropped") << skin << "SUFACE_IMAGE" << "TABNORMAL" << "tab.bmp";
        QTest::newRow("names compare without case") << skin << "suface_image" << "tabNormal" << "tab.bmp";
        QTest::newRow("asked names lose their surrounding blanks") << skin << " SUFACE_IMAGE\t" << "TABNORMAL " << "tab.bmp";
        QTest::newRow("key of another section is not seen") << skin << "SUFACE_IMAGE" << "TEXT" << "<def>";
        QTest::newRow("missing section gives the default") << skin << "NOPE" << "TEXT" << "<def>";
        QTest::newRow("comment lines are not keys") << skin << "SUFACE_IMAGE" << "; a comment" << "<def>";
        QTest::newRow("value keeps its own equals signs")
            << QByteArray("[a]\nurl=http://x/?a=1&b=2\n") << "a" << "url" << "http://x/?a=1&b=2";
        QTest::newRow("one pair of matching quotes is taken off")
            << QByteArray("[a]\nk=\"quoted value\"\n") << "a" << "k" << "quoted value";
        QTest::newRow("unmatched quote stays") << QByteArray("[a]\nk=\"half\n") << "a" << "k" << "\"half";
        QTest::newRow("first key of a name wins") << QByteArray("[a]\nk=1\nk=2\n") << "a" << "k" << "1";
        QTest::newRow("first section of a name wins")
            << QByteArray("[a]\nx=1\n[b]\nk=b\n[a]\nk=late\n") << "a" << "k" << "<def>";
        QTest::newRow("empty value is not the default") << QByteArray("[a]\nk=\n") << "a" << "k" << "";
        QTest::newRow("UTF-8 text and byte-order mark")
            << QByteArray("\xEF\xBB\xBF[皮肤]\n名字=蓝色海洋\n") << "皮肤" << "名字" << "蓝色海洋";
        QTest::newRow("last line without line ending") << QByteArray("[a]\nk=end") << "a" << "k" << "end";
    }
    void readString()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        CINIOperater ini(write(file));
        QCOMPARE(ini.ReadString(section, key, QStringLiteral("<def>")), expected);
    }

    void missingFileGivesDefaults()
    {
        CINIOperater ini(m_dir.filePath(QStringLiteral("absent.ini")));
        QCOMPARE(ini.ReadString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("d")), QStringLiteral("d"));
        QVERIFY(ini.ReadSections().isEmpty());
    }

    void sectionsInFileOrder()
    {
        CINIOperater ini(write("[zeta]\nk=1\n[Alpha]\n[middle]\n  [ spaced ]  \n"));
        QCOMPARE(ini.ReadSections(), (QStringList{"zeta", "Alpha", "middle", "spaced"}));
        QStringList out{"stale"};
        ini.ReadSections(out);
        QCOMPARE(out.size(), 4);
    }

    void writeKeepsTheRestOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("existing key replaced in place, CRLF kept")
            << QByteArray("; header\r\n[one]\r\n  Key = old ; note\r\nother=1\r\n\r\n[two]\r\nKey=2\r\n")
            << "ONE" << "key" << "new"
            << QByteArray("; header\r\n[one]\r\n  Key =new\r\nother=1\r\n\r\n[two]\r\nKey=2\r\n");
        QTest::newRow("new key goes after the section's last key, before blank lines")
            << QByteArray("[one]\na=1\n\n[two]\nb=2\n") << "one" << "c" << "3"
            << QByteArray("[one]\na=1\nc=3\n\n[two]\nb=2\n");
        QTest::newRow("new section appended at the end")
            << QByteArray("[one]\na=1\n") << "two" << "b" << "2" << QByteArray("[one]\na=1\n[two]\nb=2\n");
        QTest::newRow("file without final line ending gets one where needed")
            << QByteArray("[one]\na=1") << "one" << "b" << "2" << QByteArray("[one]\na=1\nb=2\n");
        QTest::newRow("empty section gets its first key")
            << QByteArray("[one]\n[two]\n") << "one" << "k" << "v" << QByteArray("[one]\nk=v\n[two]\n");
        QTest::newRow("value with quotes, percent and equals is stored as given")
            << QByteArray("[s]\n") << "s" << "k" << "it's \"%s\" = %d"
            << QByteArray("[s]\nk=it's \"%s\" = %d\n");
    }
    void writeKeepsTheRestOfTheFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        const QString path = write(before);
        CINIOperater ini(path);
        QVERIFY(ini.WriteString(section, key, value));
        QCOMPARE(contents(path), after);
    }

    void writeThenReadBack()
    {
        const QString path = m_dir.filePath(QStringLiteral("fresh.ini"));
        CINIOperater ini(path);
        QVERIFY(ini.WriteString(QStringLiteral("当前皮肤"), QStringLiteral("path"), QStringLiteral("/x/天空.ini")));
        QVERIFY(ini.WriteString(QStringLiteral("当前皮肤"), QStringLiteral("PATH"), QStringLiteral("/y.ini")));
        QCOMPARE(ini.ReadString(QStringLiteral("当前皮肤"), QStringLiteral("path")), QStringLiteral("/y.ini"));
        QCOMPARE(ini.ReadSections(), QStringList{QStringLiteral("当前皮肤")});
    }

    // A reader answers every key from one read of its file; its own writes show at once.
    void oneReadPerReader()
    {
        const QString path = write("[s]\nk=old\n");
        CINIOperater reader(path);
        QCOMPARE(reader.ReadString(QStringLiteral("s"), QStringLiteral("k")), QString("old"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[s]\nk=changed by another\n[t]\n");
        f.close();
        QCOMPARE(reader.ReadString(QStringLiteral("s"), QStringLiteral("k")), QString("old"));
        QCOMPARE(reader.ReadSections(), QStringList{"s"});
        QCOMPARE(CINIOperater(path).ReadString(QStringLiteral("s"), QStringLiteral("k")), QString("changed by another"));
        QVERIFY(reader.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("mine")));
        QCOMPARE(reader.ReadString(QStringLiteral("s"), QStringLiteral("k")), QString("mine"));
        QCOMPARE(reader.ReadSections(), (QStringList{"s", "t"}));
    }

    // What a child's account could put in place of an INI file: nothing of it hangs,
    // fills memory or is read as settings.
    void onlyRegularFilesOfSaneSizeAreRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("link to an endless device") << "zero";
        QTest::newRow("folder") << "folder";
        QTest::newRow("over 1 MiB") << "big";
    }
    void onlyRegularFilesOfSaneSizeAreRead()
    {
        QFETCH(QString, kind);
        const QString path = m_dir.filePath(kind + QStringLiteral(".ini"));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "zero")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(QFile::rename(write(QByteArray("[s]\nk=v\n") + QByteArray(1 << 20, ';')), path));
        CINIOperater ini(path);
        QCOMPARE(ini.ReadString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("<def>")), QString("<def>"));
        QCOMPARE(ini.ReadSections(), QStringList());
        QVERIFY(!ini.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")));
    }

    void writesCannotAddLines_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in the value") << "s" << "k" << "v\n[CURRENT_SKIN]\nSKIN_NAME=x";
        QTest::newRow("carriage return in the value") << "s" << "k" << "v\rk2=w";
        QTest::newRow("bracket in the section") << "s]\n[t" << "k" << "v";
        QTest::newRow("closing bracket alone") << "a]b" << "k" << "v";
        QTest::newRow("equals in the key") << "s" << "SKIN_NAME=x" << "v";
        QTest::newRow("key opening a section") << "s" << "[t]" << "v";
        QTest::newRow("key opening a section behind a byte-order mark") << "s" << QStringLiteral("\uFEFF[t]") << "v";
        QTest::newRow("key that is a comment") << "s" << ";k" << "v";
        QTest::newRow("blank key") << "s" << "  " << "v";
        QTest::newRow("blank section") << "" << "k" << "v";
    }
    void writesCannotAddLines()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QByteArray before("[s]\nk=old\n");
        const QString path = write(before);
        CINIOperater ini(path);
        QVERIFY(!ini.WriteString(section, key, value));
        QCOMPARE(contents(path), before);
    }

    void failedWriteReportsAndKeepsNothingHalfDone()
    {
        // A folder in place of the file cannot be replaced by a file.
        const QString path = m_dir.filePath(QStringLiteral("adir.ini"));
        QVERIFY(QDir().mkpath(path));
        CINIOperater ini(path);
        QVERIFY(!ini.WriteString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")));
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(QDir(m_dir.path()).entryList(QStringList{"adir.ini*"}, QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestIniOperater)
#include "tst_inioperater.moc"
