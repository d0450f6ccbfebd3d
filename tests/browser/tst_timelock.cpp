#include "nextdialog.h"
#include "browserconfig.h"
#include "browserids.h"
#include "configmanager.h"
#include "containerview.h"
#include "exitpassworddlg.h"
#include "ieview.h"
#include "isolatedenvironment.h"
#include "lockscreendlg.h"
#include "mainframe.h"
#include "md5a.h"
#include "messagerecorder.h"
#include "paths.h"
#include "browserdata.h"
#include "tickclock.h"
#include "timeupdlg.h"
#include "winddownnotice.h"

#include <pellora/coolbutton.h>
#include <pellora/cooledit.h>
#include <pellora/coolstatusbar.h>

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include <cstring>

namespace {

void setRules(int limitSwitch, int minutes, int exitNeedsPassword)
{
    CConfigManager& c = BrowserConfig();
    std::memset(&c.m_record, 0, sizeof c.m_record);
    c.SetDefaultConfig();
    c.m_record.m_bLimitTime = limitSwitch;
    c.m_record.m_nLimitMinutes = minutes;
    c.m_record.m_bExitNeedPassword = exitNeedsPassword;
    std::strcpy(c.m_record.m_szPassword, CMd5A().MDString("parent").constData());
}

} // namespace

class TestTimeLock : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedEnvironment> m_env;

private slots:
    void init()
    {
        m_env = std::make_unique<IsolatedEnvironment>();
        BrowserData::SetDataBasePath(GetDataBasePathName());
    }
    void cleanup() { m_env.reset(); }

    void locksBetween600And601Seconds()
    {
        setRules(1, 10, 0);
        TickClock::ManualClock clock(5000);
        CMainFrame frame;
        QVERIFY(frame.IsTimeLimitRunning());
        int locks = 0;
        frame.SetLockRunner([&] {
            ++locks;
            return 1;
        });
        clock.advance(599999);
        frame.OnTimeLimitTick();
        QCOMPARE(locks, 0);
        clock.advance(1);
        frame.OnTimeLimitTick();
        QCOMPARE(locks, 1);
        // Unlocked with 1 minute: locked again a minute later, not before.
        clock.advance(59999);
        frame.OnTimeLimitTick();
        QCOMPARE(locks, 1);
        QCOMPARE(frame.TimeAllowance(), 60000u);
        clock.advance(1);
        frame.OnTimeLimitTick();
        QCOMPARE(locks, 2);
    }

    // The notices come at 5 and 1 minutes left, once each, over the page without taking
    // the keyboard, and go by themselves; the status bar counts the last minutes; the lock
    // still comes at the exact time, and a new allowance brings the notices again.
    void windDownBeforeTheLock()
    {
        setRules(1, 10, 0);
        TickClock::ManualClock clock(0);
        CMainFrame frame;
        frame.resize(1024, 700);
        frame.show();
        CIEView* page = frame.OpenInNewTab("about:blank", "a");
        page->setFocus();
        int locks = 0;
        frame.SetLockRunner([&] {
            ++locks;
            return 6;
        });
        CWindDownNotice* notice = frame.WindDownNotice();
        const auto statusShows = [&](const QString& text) { return frame.StatusBar()->TimeLeftText() == text; };

        clock.set(5 * 60000 - 1);
        frame.OnTimeLimitTick();
        QVERIFY(notice->isHidden());
        QVERIFY(frame.StatusBar()->TimeLeftText().isEmpty());
        clock.set(5 * 60000);
        frame.OnTimeLimitTick();
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->Text(), CWindDownNotice::TextFor(5));
        QVERIFY(statusShows("还能上网5分钟"));
        QVERIFY(!notice->hasFocus() && notice->focusPolicy() == Qt::NoFocus);
        QVERIFY(notice->testAttribute(Qt::WA_TransparentForMouseEvents));
        // It goes by itself, and the next ticks bring it no more.
        QTRY_VERIFY_WITH_TIMEOUT(notice->isHidden(), 15000);
        clock.set(6 * 60000);
        frame.OnTimeLimitTick();
        QVERIFY(notice->isHidden());
        QVERIFY(statusShows("还能上网4分钟"));

        clock.set(9 * 60000);
        frame.OnTimeLimitTick();
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->Text(), CWindDownNotice::TextFor(1));
        QVERIFY(statusShows("还能上网1分钟"));
        clock.set(10 * 60000 - 1);
        frame.OnTimeLimitTick();
        QCOMPARE(locks, 0);
        clock.set(10 * 60000);
        frame.OnTimeLimitTick();
        QCOMPARE(locks, 1);
        QVERIFY(notice->isHidden());
        QVERIFY(frame.StatusBar()->TimeLeftText().isEmpty());
        // Six more minutes: the 5-minute notice comes again a minute later.
        clock.advance(60000);
        frame.OnTimeLimitTick();
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->Text(), CWindDownNotice::TextFor(5));
    }

    void noWindDownWithTheLimitOff()
    {
        setRules(2, 10, 0);
        TickClock::ManualClock clock(0);
        CMainFrame frame;
        for (uint32_t t : {5u * 60000, 9u * 60000, 10u * 60000 - 1}) {
            clock.set(t);
            frame.OnTimeLimitTick();
            QVERIFY(frame.WindDownNotice()->isHidden());
            QVERIFY(frame.StatusBar()->TimeLeftText().isEmpty());
        }
    }

    void pagesAreSilentUnderTheLock()
    {
        setRules(1, 1, 0);
        TickClock::ManualClock clock(0);
        CMainFrame frame;
        frame.OpenInNewTab("about:blank", "a");
        frame.OpenInNewTab("about:blank", "b");
        QList<bool> mutedDuringLock;
        CIEView* openedDuringLock = nullptr;
        frame.SetLockRunner([&] {
            // A page's script may open a window while the lock is up: it stays silent too.
            openedDuringLock = frame.OpenInNewTab("about:blank", "c");
            for (CIEView* v : frame.ContainerView()->Pages())
                mutedDuringLock.append(v->page()->isAudioMuted());
            return 5;
        });
        clock.advance(60000);
        frame.OnTimeLimitTick();
        QVERIFY(openedDuringLock);
        QCOMPARE(mutedDuringLock, QList<bool>({true, true, true}));
        QVERIFY(!frame.ArePagesSilenced());
        for (CIEView* v : frame.ContainerView()->Pages())
            QVERIFY(!v->page()->isAudioMuted());
    }

    void noTimerWhenTheLimitWasOff()
    {
        setRules(0, 10, 0);
        CMainFrame frame;
        QVERIFY(!frame.IsTimeLimitRunning());
        // Switching it on later changes nothing for this run.
        BrowserConfig().m_record.m_bLimitTime = 1;
        QVERIFY(!frame.IsTimeLimitRunning());
    }

    void switchTwoRunsTheTimerButNeverLocks()
    {
        setRules(2, 10, 0);
        TickClock::ManualClock clock(0);
        CMainFrame frame;
        QVERIFY(frame.IsTimeLimitRunning());
        bool locked = false;
        frame.SetLockRunner([&] {
            locked = true;
            return 1;
        });
        clock.advance(3600000);
        frame.OnTimeLimitTick();
        QVERIFY(!locked);
    }

    void tickCounterWrapDoesNotLockEarly()
    {
        setRules(1, 10, 0);
        TickClock::ManualClock clock(0xFFFFFFFFu - 1000u);
        CMainFrame frame;
        bool locked = false;
        frame.SetLockRunner([&] {
            locked = true;
            return 1;
        });
        clock.advance(2000); // past the wrap, two seconds in
        frame.OnTimeLimitTick();
        QVERIFY(!locked);
        clock.advance(598000);
        frame.OnTimeLimitTick();
        QVERIFY(locked);
    }

    void lockWaitsForTheExitDialog()
    {
        setRules(1, 10, 1);
        TickClock::ManualClock clock(0);
        CMainFrame frame;
        int locks = 0;
        frame.SetLockRunner([&] {
            ++locks;
            return 5;
        });
        frame.SetExitPrompt([&] {
            // The allowance runs out while the parents' dialog is open.
            clock.advance(700000);
            frame.OnTimeLimitTick();
            return false; // cancelled
        });
        frame.show();
        frame.OnCommand(BrowserIds::kCmdClose);
        QCOMPARE(locks, 0);
        QVERIFY(frame.isVisible());
        QVERIFY(!frame.IsModalBusy());
        frame.OnTimeLimitTick(); // the first tick after it closed
        QCOMPARE(locks, 1);
    }

    void exitPaths_data()
    {
        QTest::addColumn<int>("exitNeedsPassword");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closes");
        QTest::newRow("switch 0 closes at once") << 0 << false << false << true;
        QTest::newRow("right password closes") << 1 << true << true << true;
        QTest::newRow("cancelled stays") << 1 << false << true << false;
        QTest::newRow("any non-zero switch asks") << -3 << false << true << false;
    }
    void exitPaths()
    {
        QFETCH(int, exitNeedsPassword);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closes);
        setRules(0, 10, exitNeedsPassword);
        CMainFrame frame;
        bool wasAsked = false;
        bool busyWhileAsked = false;
        frame.SetExitPrompt([&] {
            wasAsked = true;
            busyWhileAsked = frame.IsModalBusy();
            return answer;
        });
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame, Qt::Key_F4, Qt::AltModifier); // Alt+F4 is the close command
        QCOMPARE(wasAsked, asked);
        QCOMPARE(busyWhileAsked, asked); // the lock waits while the dialog is open
        QCOMPARE(frame.isVisible(), !closes);
    }

    void timeUpDialogChecks()
    {
        setRules(1, 10, 0);
        MessageRecorder boxes;
        CTimeUpDlg dlg;
        dlg.show();
        dlg.OnUnlock();
        QCOMPARE(boxes.last().text, QStringLiteral("密码不能为空!"));
        QCOMPARE(boxes.last().caption, QStringLiteral("错误:"));
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        dlg.PasswordEdit()->setText("wrong");
        dlg.MinutesEdit()->setText("30");
        dlg.OnUnlock();
        QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
        dlg.PasswordEdit()->setText("parent");
        dlg.MinutesEdit()->setText("601");
        dlg.OnUnlock();
        QCOMPARE(boxes.last().text, QStringLiteral("输入的延时时间必须是1-600分钟之间，不可超过这个数字！"));
        // Texts stay after a refusal; the minutes box takes digits only.
        QCOMPARE(dlg.PasswordEdit()->text(), QStringLiteral("parent"));
        dlg.MinutesEdit()->clear();
        QTest::keyClicks(dlg.MinutesEdit(), "4a5");
        QCOMPARE(dlg.MinutesEdit()->text(), QStringLiteral("45"));
        // No way out but the button.
        QTest::keyClick(dlg.PasswordEdit(), Qt::Key_Return);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QTest::keyClick(&dlg, Qt::Key_F4, Qt::AltModifier);
        dlg.reject();
        QVERIFY(!dlg.close());
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        const int before = boxes.count();
        dlg.UnlockButton()->click();
        QCOMPARE(boxes.count(), before);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.ExtensionMinutes(), 45);
    }

    void exitDialogChecks()
    {
        setRules(0, 10, 1);
        MessageRecorder boxes;
        {
            CExitPasswordDlg dlg;
            QCOMPARE(dlg.windowTitle(), QStringLiteral("退出前请输入家长密码:"));
            dlg.show();
            QTest::keyClick(dlg.PasswordEdit(), Qt::Key_Return); // Enter is OK
            QCOMPARE(boxes.last().text, QStringLiteral("密码不能为空!"));
            QCOMPARE(boxes.last().caption, QStringLiteral("错误:"));
            QTest::keyClicks(dlg.PasswordEdit(), "Parent");
            QTest::keyClick(dlg.PasswordEdit(), Qt::Key_Return);
            QCOMPARE(boxes.last().text, QStringLiteral("密码不对,请仔细输入或者看有没有大写锁定!"));
            QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
            QVERIFY(dlg.isVisible());
            dlg.PasswordEdit()->setText("parent");
            QTest::keyClick(dlg.PasswordEdit(), Qt::Key_Return);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
        }
        {
            CExitPasswordDlg dlg;
            dlg.show();
            QTest::keyClick(&dlg, Qt::Key_Escape);
            QVERIFY(!dlg.isVisible());
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
        }
        {
            CExitPasswordDlg dlg;
            dlg.show();
            dlg.CancelButton()->click();
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
        }
    }

    // The buttons keep clear of the password box and of each other, and stay inside the
    // dialog, at its first size and when it is made larger.
    void exitDialogLayout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as opened") << QSize();
        QTest::newRow("taller") << QSize(320, 260);
        QTest::newRow("wider") << QSize(520, 170);
    }
    void exitDialogLayout()
    {
        QFETCH(QSize, size);
        setRules(0, 10, 1);
        CExitPasswordDlg dlg;
        if (size.isValid())
            dlg.resize(size);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QRect edit = dlg.PasswordEdit()->geometry();
        const QRect ok = dlg.OkButton()->geometry();
        const QRect cancel = dlg.CancelButton()->geometry();
        const QRect inside = dlg.rect().adjusted(8, 8, -8, -8);
        for (const QRect& r : {edit, ok, cancel}) {
            const QString where = QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
            QVERIFY2(inside.contains(r), qPrintable(where));
        }
        QCOMPARE(ok.top(), cancel.top());
        QVERIFY2(ok.top() - (edit.top() + edit.height()) >= 12, qPrintable(QString::number(ok.top() - edit.bottom())));
        QVERIFY(ok.left() + ok.width() + 8 <= cancel.left());
        // Buttons of a usual size, not stretched across the dialog.
        QVERIFY(ok.width() <= 120 && cancel.width() <= 120);
    }

    void lockScreenAsksOnceAndGrants()
    {
        setRules(1, 10, 0);
        MessageRecorder boxes;
        bool seen = false;
        onNextDialog<CTimeUpDlg>(
            [](CTimeUpDlg* d) {
                QVERIFY(!CLockScreenDlg::PromptGuard()); // a second prompt cannot open now
                d->PasswordEdit()->setText("parent");
                d->MinutesEdit()->setText("15");
                d->OnUnlock();
            },
            &seen);
        CLockScreenDlg lock;
        QCOMPARE(lock.exec(), int(QDialog::Accepted));
        QVERIFY(seen);
        QCOMPARE(lock.GrantedMinutes(), 15);
        QVERIFY(CLockScreenDlg::PromptGuard());
        QCOMPARE(lock.geometry().size(), CLockScreenDlg::CoveredArea().size());
        QCOMPARE(lock.Snapshot().size(), CLockScreenDlg::CoveredArea().size());
        // Every pixel of the picture is dimmed: no channel below 100.
        const QColor c = lock.Snapshot().pixelColor(10, 10);
        QVERIFY(c.red() >= 100 && c.green() >= 100 && c.blue() >= 100);
        QCOMPARE(boxes.count(), 0);
    }
};

QTEST_MAIN(TestTimeLock)
#include "tst_timelock.moc"
