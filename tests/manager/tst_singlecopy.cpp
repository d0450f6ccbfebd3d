#include "isolatedenvironment.h"
#include "managerapp.h"

#include <QtTest>

namespace {

// One copy of the start-up in its own process, with what it printed so far.
struct Copy {
    QProcess process;
    QByteArray out;
    Copy()
    {
        QObject::connect(&process, &QProcess::readyReadStandardOutput,
                         [this] { out += process.readAllStandardOutput(); });
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/manager_singlecopy_helper"));
    }
    ~Copy()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    QString text() const { return QString::fromUtf8(out); }
};

const QString kAlreadyRunning = QStringLiteral("message:提醒|程序已运行!");

} // namespace

class TestSingleCopy : public QObject
{
    Q_OBJECT

private slots:
    void secondCopyIsTurnedAway()
    {
        IsolatedEnvironment env;
        Copy first;
        QTRY_VERIFY_WITH_TIMEOUT(first.text().contains(QStringLiteral("dialog:CSetPasswordDlg")), 20000);
        QVERIFY(QFile::exists(CManagerApp::SingleInstanceLockPath()));

        Copy second;
        QVERIFY(second.process.waitForFinished(20000));
        second.out += second.process.readAllStandardOutput();
        QVERIFY2(second.text().contains(kAlreadyRunning), qPrintable(second.text()));
        QVERIFY(!second.text().contains(QStringLiteral("dialog:")));
        QCOMPARE(second.process.exitCode(), 0);

        // The first copy goes on as before.
        QCOMPARE(first.process.state(), QProcess::Running);
        QVERIFY(!first.text().contains(kAlreadyRunning));
    }

    void killedFirstCopyDoesNotBlockTheNext()
    {
        IsolatedEnvironment env;
        {
            Copy first;
            QTRY_VERIFY_WITH_TIMEOUT(first.text().contains(QStringLiteral("dialog:")), 20000);
            first.process.kill();
            QVERIFY(first.process.waitForFinished(5000));
        }
        // The dead copy's lock is still there, and must not count.
        QVERIFY(QFile::exists(CManagerApp::SingleInstanceLockPath()));

        Copy next;
        QTRY_VERIFY_WITH_TIMEOUT(next.text().contains(QStringLiteral("dialog:CSetPasswordDlg")), 20000);
        QVERIFY(!next.text().contains(kAlreadyRunning));

        // And the new copy holds the lock again.
        Copy another;
        QVERIFY(another.process.waitForFinished(20000));
        another.out += another.process.readAllStandardOutput();
        QVERIFY2(another.text().contains(kAlreadyRunning), qPrintable(another.text()));
    }
};

QTEST_GUILESS_MAIN(TestSingleCopy)
#include "tst_singlecopy.moc"
