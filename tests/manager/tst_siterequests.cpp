#include "addsitedlg.h"
#include "isolatedenvironment.h"
#include "managerdata.h"
#include "messagerecorder.h"
#include "nextdialog.h"
#include "parentrecommentpropertypage.h"
#include "paths.h"
#include "siterequests.h"
#include "siterequestsdlg.h"
#include "testhttpserver.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coollistctrl.h>
#include <quenlit/flatedit.h>
#include <quenlit/viewrecommentlistctrl.h>

#include <QDir>
#include <QtTest>

using SiteRequests::AddResult;
using SiteRequests::State;

namespace {

AddResult add(const QString& address, const QString& host, const QString& day)
{
    return SiteRequests::Add(ManagerData::DataBasePath(), address, host, day, day + QStringLiteral(" 时间"));
}

QStringList pendingHosts()
{
    QStringList hosts;
    for (const SiteRequests::Record& r : SiteRequests::Pending(ManagerData::DataBasePath()))
        hosts << r.host;
    return hosts;
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

} // namespace

// The child's requests for refused sites, as the browser records them and the parents
// settle them on the recommended-sites page.
class TestSiteRequests : public QObject
{
    Q_OBJECT

    QScopedPointer<IsolatedEnvironment> m_env;
    TestHttpServer m_server;

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addTitledPage(QStringLiteral("/paint"), QStringLiteral("画画小屋"),
                               QStringLiteral("<div style='position:fixed;inset:0;background:rgb(120,210,110)'></div>"));
    }

    void init()
    {
        m_env.reset(new IsolatedEnvironment);
        ManagerData::SetDataBasePath(GetDataBasePathName());
    }
    void cleanup()
    {
        ManagerData::SetDataBasePath(QString());
        m_env.reset();
    }

    // One request per host and day, whatever became of it, and never two waiting for
    // the same host.
    void oncePerHostAndDay()
    {
        // No request was ever made: nothing waits, and reading makes no table.
        QVERIFY(pendingHosts().isEmpty());
        QVERIFY(!SiteRequests::Settle(ManagerData::DataBasePath(), 1, State::Dismissed));

        const QString day1 = QStringLiteral("2026-12-08"), day2 = QStringLiteral("2026-12-09");
        QCOMPARE(add("http://games.test/a", "games.test", day1), AddResult::Added);
        QCOMPARE(add("http://games.test/b", "games.test", day1), AddResult::AlreadyAsked);
        QCOMPARE(add("http://GAMES.test/", "GAMES.test", day1), AddResult::AlreadyAsked);
        QCOMPARE(add("http://zoo.test/'%s\"\u202e", "zoo.test", day1), AddResult::Added);
        QCOMPARE(add("file:///etc/passwd", "", day1), AddResult::Failed);
        // Still waiting the next day: the parents see it once.
        QCOMPARE(add("http://games.test/c", "games.test", day2), AddResult::AlreadyAsked);

        const QList<SiteRequests::Record> pending = SiteRequests::Pending(ManagerData::DataBasePath());
        QCOMPARE(pending.size(), 2);
        QCOMPARE(pending[0].address, QStringLiteral("http://games.test/a"));
        QCOMPARE(pending[0].host, QStringLiteral("games.test"));
        QCOMPARE(pending[0].time, day1 + QStringLiteral(" 时间"));
        // Quotes, format characters and direction marks come back as they went in.
        QCOMPARE(pending[1].address, QStringLiteral("http://zoo.test/'%s\"\u202e"));

        // Settled once only.
        QVERIFY(SiteRequests::Settle(ManagerData::DataBasePath(), pending[0].id, State::Dismissed));
        QVERIFY(!SiteRequests::Settle(ManagerData::DataBasePath(), pending[0].id, State::Approved));
        QCOMPARE(pendingHosts(), QStringList{"zoo.test"});
        // A dismissed host may be asked for again on another day, not on the same one.
        QCOMPARE(add("http://games.test/d", "games.test", day1), AddResult::AlreadyAsked);
        QCOMPARE(add("http://games.test/d", "games.test", day2), AddResult::Added);
        QCOMPARE(pendingHosts(), (QStringList{"zoo.test", "games.test"}));

        // Past ten hosts a day the child is asked to wait for tomorrow; a host already
        // asked for still gets its own answer.
        for (int i = 0; i < SiteRequests::kMaxRequestsPerDay - 1; ++i)
            QCOMPARE(add("http://more.test/", QStringLiteral("h%1.test").arg(i), day2), AddResult::Added);
        QCOMPARE(add("http://one.more.test/", "one.more.test", day2), AddResult::DailyLimit);
        QCOMPARE(add("http://games.test/e", "games.test", day2), AddResult::AlreadyAsked);
        QCOMPARE(add("http://one.more.test/", "one.more.test", "2026-12-10"), AddResult::Added);
    }

    void aFileThatCannotBeWrittenRecordsNothing()
    {
        // A folder where the database should be: the write fails and says so.
        QVERIFY(QDir().mkpath(ManagerData::DataBasePath()));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("recording a request for a site"));
        QCOMPARE(add("http://games.test/", "games.test", "2026-12-09"), AddResult::Failed);
        QVERIFY_THROWS_EXCEPTION(std::exception, SiteRequests::Pending(ManagerData::DataBasePath()));
    }

    // The page counts what waits; the dialog approves through the add dialog, snapshot
    // and all, and dismisses without a site; a cancelled approval leaves it waiting.
    void approveAndDismissFromThePage()
    {
        const QString wanted = m_server.url(QStringLiteral("/paint"), QStringLiteral("localhost")).toString();
        QCOMPARE(add(wanted, "localhost", "2026-12-09"), AddResult::Added);
        QCOMPARE(add("http://games.test/x", "games.test", "2026-12-09"), AddResult::Added);
        QCOMPARE(add("http://chat.test/", "chat.test", "2026-12-09"), AddResult::Added);

        MessageRecorder boxes;
        CParentRecommentPropertyPage page(nullptr);
        QCOMPARE(page.m_btnRequests->text(), QStringLiteral("孩子的请求 (3)"));

        bool seenList = false, seenAdd = false, seenCancelled = false;
        onNextDialog<CSiteRequestsDlg>(
            [&](CSiteRequestsDlg* dlg) {
                QCOMPARE(dlg->windowTitle(), QStringLiteral("孩子的请求"));
                QCOMPARE(dlg->m_listRequests->GetItemCount(), 3);
                QCOMPARE(dlg->m_listRequests->GetItemText(0, 1), QStringLiteral("localhost"));
                QCOMPARE(dlg->m_listRequests->GetItemText(0, 2), wanted);

                // Approving the first: the add dialog comes with the address and its page's
                // snapshot and title; "确定" stores the site.
                onNextDialog<CAddSiteDlg>(
                    [&](CAddSiteDlg* add) {
                        QCOMPARE(add->m_editUrl->text(), wanted);
                        QTRY_COMPARE_WITH_TIMEOUT(add->m_editName->text(), QStringLiteral("画画小屋"), 20000);
                        QTRY_VERIFY_WITH_TIMEOUT(!add->IsWaiting(), 20000);
                        QCOMPARE(add->SnapshotPicture().pixelColor(64, 60), QColor(120, 210, 110));
                        click(add->m_btnOk);
                    },
                    &seenAdd);
                click(dlg->m_btnApprove);
                QCOMPARE(dlg->m_listRequests->GetItemCount(), 2);
                QVERIFY(dlg->SitesAdded());

                // A cancelled approval settles nothing.
                dlg->m_listRequests->setCurrentItem(dlg->m_listRequests->topLevelItem(1));
                onNextDialog<CAddSiteDlg>([](CAddSiteDlg* add) { click(add->m_btnCancel); }, &seenCancelled);
                click(dlg->m_btnApprove);
                QCOMPARE(dlg->m_listRequests->GetItemCount(), 2);

                // Dismissing the second row (chat.test) leaves games.test.
                dlg->m_listRequests->setCurrentItem(dlg->m_listRequests->topLevelItem(1));
                click(dlg->m_btnDismiss);
                QCOMPARE(dlg->m_listRequests->GetItemCount(), 1);
                QCOMPARE(dlg->m_listRequests->GetItemText(0, 1), QStringLiteral("games.test"));
                click(dlg->m_btnClose);
            },
            &seenList);
        click(page.m_btnRequests);
        QVERIFY(seenList);
        QVERIFY(seenAdd);
        QVERIFY(seenCancelled);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("已经添加成功!"));

        // The approved site leads the page's list; one request still waits.
        QCOMPARE(page.m_listSites->GetItemText(0, 2), wanted);
        QCOMPARE(page.m_listSites->GetItemText(0, 1), QStringLiteral("画画小屋"));
        QCOMPARE(page.m_btnRequests->text(), QStringLiteral("孩子的请求 (1)"));
        QCOMPARE(pendingHosts(), QStringList{"games.test"});
        // The settled ones keep their answers, so the child cannot ask again today.
        QCOMPARE(add(wanted, "localhost", "2026-12-09"), AddResult::AlreadyAsked);
        QCOMPARE(add("http://chat.test/", "chat.test", "2026-12-09"), AddResult::AlreadyAsked);
    }
};

QTEST_MAIN(TestSiteRequests)
#include "tst_siterequests.moc"
