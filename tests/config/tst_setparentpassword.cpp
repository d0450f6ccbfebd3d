#include "configmanager.h"
#include "md5a.h"
#include "setparentpassword.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// Builds an installer stack: the last text given ends up on top.
class Stack
{
public:
    explicit Stack(const QList<QByteArray>& bottomToTop)
    {
        for (const QByteArray& t : bottomToTop) {
            auto* n = static_cast<lorvane_stack_t*>(std::malloc(sizeof(lorvane_stack_t) + size_t(t.size())));
            n->next = m_top;
            std::memcpy(n->text, t.constData(), size_t(t.size()) + 1);
            m_top = n;
        }
    }
    ~Stack()
    {
        while (m_top) {
            lorvane_stack_t* next = m_top->next;
            std::free(m_top);
            m_top = next;
        }
    }
    lorvane_stack_t** top() { return &m_top; }
    QList<QByteArray> texts() const
    {
        QList<QByteArray> out;
        for (lorvane_stack_t* n = m_top; n; n = n->next)
            out.append(QByteArray(n->text));
        return out;
    }

private:
    lorvane_stack_t* m_top = nullptr;
};

bool load(const QString& path, CConfigManager& c)
{
    return c.SetConfigPathName(path.toUtf8().constData()) == 0 && c.LoadConfigFromFile();
}

} // namespace

class TestSetParentPassword : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void writesAFreshRecord_data()
    {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QByteArray>("hash");
        QTest::newRow("ascii") << QByteArray("abc") << QByteArray("900150983cd24fb0d6963f7d28e17f72");
        QTest::newRow("empty password is hashed too") << QByteArray("") << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
        QTest::newRow("chinese, hashed over its bytes") << QByteArray("家长密码") << CMd5A().MDString("家长密码");
        QTest::newRow("blanks are part of the password") << QByteArray(" pw ") << CMd5A().MDString(" pw ");
        QTest::newRow("259 bytes fit") << QByteArray(259, 'k') << CMd5A().MDString(QByteArray(259, 'k'));
    }
    void writesAFreshRecord()
    {
        QFETCH(QByteArray, password);
        QFETCH(QByteArray, hash);
        const QString path = m_dir.filePath("fresh.cfg");
        QFile::remove(path);
        Stack stack({" " + path.toUtf8() + " ", password});
        SetParentPassword(nullptr, 1024, nullptr, stack.top());
        QVERIFY(stack.texts().isEmpty());

        QCOMPARE(QFileInfo(path).size(), qint64(2892));
        // The installer's record is also the first last good copy.
        const QString copy = path + QString::fromLatin1(kLastGoodSuffix);
        QFile live(path), kept(copy);
        QVERIFY(live.open(QIODevice::ReadOnly) && kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), live.readAll());
        QVERIFY(QFile::remove(copy));
        CConfigManager c;
        QVERIFY(load(path, c));
        QCOMPARE(c.LoadedFrom(), ConfigSource::File);
        QCOMPARE(c.m_record.m_bPasswordSet, 1);
        QCOMPARE(QByteArray(c.m_record.m_szPassword), hash);
        QCOMPARE(c.m_record.m_bOnlyChildSites, 0);
        QCOMPARE(c.m_record.m_bExitNeedPassword, 0);
        QCOMPARE(c.m_record.m_bLoginBeforeManage, 0);
        QCOMPARE(c.m_record.m_bLimitTime, 0);
        QCOMPARE(c.m_record.m_nLimitMinutes, 10);
        QCOMPARE(c.m_record.m_bUseOwnHomePage, 1);
        QCOMPARE(QByteArray(c.m_record.m_szHomePage), QByteArray(kDefaultHomePage));
    }

    void secondCallReplacesPasswordAndResetsSettings()
    {
        const QString path = m_dir.filePath("twice.cfg");
        {
            Stack s({path.toUtf8(), "first"});
            SetParentPassword(nullptr, 1024, nullptr, s.top());
        }
        CConfigManager c;
        QVERIFY(load(path, c));
        c.m_record.m_bOnlyChildSites = 1;
        c.m_record.m_bLimitTime = 1;
        QVERIFY(c.SaveConfigToFile());
        {
            Stack s({path.toUtf8(), "second"});
            SetParentPassword(nullptr, 1024, nullptr, s.top());
        }
        CConfigManager back;
        QVERIFY(load(path, back));
        QCOMPARE(QByteArray(back.m_record.m_szPassword), CMd5A().MDString("second"));
        QVERIFY(QByteArray(back.m_record.m_szPassword) != CMd5A().MDString("first"));
        QCOMPARE(back.m_record.m_bOnlyChildSites, 0);
        QCOMPARE(back.m_record.m_bLimitTime, 0);
    }

    void popsTwoAndLeavesTheRest()
    {
        const QString path = m_dir.filePath("three.cfg");
        Stack stack({"bottom", "third", path.toUtf8(), "pw"});
        SetParentPassword(nullptr, 1024, nullptr, stack.top());
        QCOMPARE(stack.texts(), (QList<QByteArray>{"third", "bottom"}));
        CConfigManager c;
        QVERIFY(load(path, c));
        QCOMPARE(QByteArray(c.m_record.m_szPassword), CMd5A().MDString("pw"));
    }

    void writesNothingWhenItCannot_data()
    {
        QTest::addColumn<QList<QByteArray>>("stack");
        QTest::addColumn<QList<QByteArray>>("left");
        const QByteArray path = m_dir.filePath("never.cfg").toUtf8();
        QTest::newRow("empty stack") << QList<QByteArray>{} << QList<QByteArray>{};
        QTest::newRow("only one string") << QList<QByteArray>{"pw"} << QList<QByteArray>{};
        QTest::newRow("path of blanks only") << QList<QByteArray>{"   ", "pw"} << QList<QByteArray>{};
        QTest::newRow("over-long password")
            << QList<QByteArray>{"below", path, QByteArray(300, 'p')} << QList<QByteArray>{"below"};
        QTest::newRow("password of 260 bytes") << QList<QByteArray>{path, QByteArray(260, 'p')} << QList<QByteArray>{};
        QTest::newRow("over-long path")
            << QList<QByteArray>{path + QByteArray(4000, 'x'), "pw"} << QList<QByteArray>{};
    }
    void writesNothingWhenItCannot()
    {
        QFETCH(QList<QByteArray>, stack);
        QFETCH(QList<QByteArray>, left);
        const QString path = m_dir.filePath("never.cfg");
        Stack s(stack);
        SetParentPassword(nullptr, 1024, nullptr, s.top());
        QCOMPARE(s.texts(), left);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFile::exists(QString::fromUtf8(path.toUtf8() + QByteArray(4000, 'x'))));
    }

    // The installer's strings are string_size bytes each: a text without its ending
    // zero within them is refused, and nothing past them is read.
    void readsNoFurtherThanStringSize_data()
    {
        QTest::addColumn<int>("stringSize");
        QTest::addColumn<bool>("terminated");
        QTest::addColumn<bool>("stored");
        QTest::newRow("fits") << 1024 << true << true;
        QTest::newRow("path longer than the string size") << 12 << true << false;
        QTest::newRow("no ending zero within the size") << 1024 << false << false;
        QTest::newRow("size zero") << 0 << true << false;
        QTest::newRow("negative size") << -5 << true << false;
    }
    void readsNoFurtherThanStringSize()
    {
        QFETCH(int, stringSize);
        QFETCH(bool, terminated);
        QFETCH(bool, stored);
        const QString path = m_dir.filePath(QStringLiteral("sized%1.cfg").arg(QTest::currentDataTag()).remove(' '));
        lorvane_stack_t* top = nullptr;
        for (const QByteArray& text : {path.toUtf8(), QByteArray("pw")}) {
            // Exactly the bytes the installer would own: the text, and its zero only
            // when terminated; unterminated texts fill a node of string_size bytes.
            const size_t bytes = terminated ? size_t(text.size()) + 1 : size_t(stringSize);
            auto* n = static_cast<lorvane_stack_t*>(std::malloc(offsetof(lorvane_stack_t, text) + bytes));
            std::memset(n->text, 'x', bytes);
            std::memcpy(n->text, text.constData(), std::min(bytes, size_t(text.size()) + (terminated ? 1 : 0)));
            n->next = top;
            top = n;
        }
        SetParentPassword(nullptr, stringSize, nullptr, &top);
        QVERIFY(!top); // both popped and freed
        CConfigManager c;
        QCOMPARE(load(path, c), stored);
        if (stored)
            QCOMPARE(QByteArray(c.m_record.m_szPassword), CMd5A().MDString("pw"));
    }

    void nullStackIsHarmless()
    {
        const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
        SetParentPassword(nullptr, 1024, nullptr, nullptr);
        lorvane_stack_t* empty = nullptr;
        SetParentPassword(nullptr, 1024, nullptr, &empty);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
    }
};

QTEST_GUILESS_MAIN(TestSetParentPassword)
#include "tst_setparentpassword.moc"
