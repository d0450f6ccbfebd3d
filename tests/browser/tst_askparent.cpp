#include "browsertestfixture.h"
#include "ieview.h"
#include "navigationpolicy.h"
#include "siterequestdesk.h"
#include "siterequests.h"
#include "testhttpserver.h"

#include <QJsonDocument>
#include <QJsonObject>

// The warning page's "请爸爸妈妈开通这个网站": the child's own click or key records a
// request for the refused site, once per host and day; nothing a script does records one.
class TestAskParent : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    std::unique_ptr<IsolatedEnvironment> m_env;
    std::unique_ptr<CIEView> m_view;

    QStringList pendingAddresses() const
    {
        QStringList out;
        for (const SiteRequests::Record& r : SiteRequests::Pending(BrowserData::DataBasePath()))
            out << r.address + QLatin1Char(' ') + r.host;
        return out;
    }

    bool shown(const char* id) const
    {
        return Evaluate(m_view->page(), QStringLiteral("!document.getElementById('%1').hidden").arg(id)).toBool();
    }

    // Opens a refused address and waits for the warning page to show it.
    bool refuse(const QString& address)
    {
        m_view->Navigate(address);
        return QTest::qWaitFor(
            [&] {
                return NavigationPolicy::RefusedAddressShown(m_view->url(), GetExeDirectory()) == address
                    && Evaluate(m_view->page(), "document.readyState").toString() == "complete";
            },
            20000);
    }

    // A real mouse click on the middle of the button, as the child makes it.
    void clickAsk()
    {
        const QJsonObject box = QJsonDocument::fromJson(
                                    Evaluate(m_view->page(), "JSON.stringify(document.getElementById('ask')"
                                                             ".getBoundingClientRect())")
                                        .toString()
                                        .toUtf8())
                                    .object();
        const QPoint middle(box["x"].toDouble() + box["width"].toDouble() / 2,
                            box["y"].toDouble() + box["height"].toDouble() / 2);
        QTest::mouseClick(m_view->focusProxy(), Qt::LeftButton, {}, middle);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addTitledPage("/allowed", "Allowed");
    }

    void init()
    {
        m_env = std::make_unique<IsolatedEnvironment>();
        UseDatabaseOf(*m_env);
        ResetBrowserConfig(1, "about:blank");
        // 127.0.0.1 is recommended; the same server as "localhost" is another, refused host.
        QVERIFY(ManagerData::AddSite("127.0.0.1", "local", ""));
        m_view = std::make_unique<CIEView>();
        m_view->resize(800, 700);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void cleanup()
    {
        m_view.reset();
        m_env.reset();
    }

    void theChildsClickAsksOncePerHost()
    {
        const QString games = m_server.url("/games", "localhost").toString();
        QVERIFY(refuse(games));
        QTRY_VERIFY_WITH_TIMEOUT(m_view->focusProxy(), 20000);
        QVERIFY(shown("ask"));

        // What a script can do on the page: click the button, send it a made-up click,
        // reach for the program's channel. None of it asks.
        Evaluate(m_view->page(), "document.getElementById('ask').click();"
                                 "document.getElementById('ask').dispatchEvent(new MouseEvent('click', {bubbles: true}));");
        QCOMPARE(Evaluate(m_view->page(), "typeof qt").toString(), QStringLiteral("undefined"));
        QTest::qWait(500);
        QVERIFY(pendingAddresses().isEmpty());
        QVERIFY(shown("ask"));
        QVERIFY(!shown("sent"));

        clickAsk();
        QTRY_VERIFY_WITH_TIMEOUT(shown("sent"), 20000);
        QVERIFY(!shown("ask"));
        QCOMPARE(pendingAddresses(), QStringList{games + " localhost"});

        // Another refused page of the same host: the button is back, and says it was asked.
        const QString more = m_server.url("/more", "localhost").toString();
        QVERIFY(refuse(more));
        QTRY_VERIFY_WITH_TIMEOUT(shown("ask"), 20000);
        QVERIFY(!shown("sent"));
        clickAsk();
        QTRY_VERIFY_WITH_TIMEOUT(shown("already"), 20000);
        QCOMPARE(pendingAddresses(), QStringList{games + " localhost"});

        // The keyboard works as the mouse does: the button's key is the child's too.
        QVERIFY(refuse("http://games.invalid/play"));
        QTRY_VERIFY_WITH_TIMEOUT(shown("ask"), 20000);
        Evaluate(m_view->page(), "document.getElementById('ask').focus()");
        QTest::keyClick(m_view->focusProxy(), Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(shown("sent"), 20000);
        QCOMPARE(pendingAddresses(), (QStringList{games + " localhost", "http://games.invalid/play games.invalid"}));
    }

    // The desk records only for the warning page, and only the address that page shows;
    // a tab gets it with its first warning page.
    void theDeskAnswersOnlyTheWarningPage()
    {
        m_view->Navigate(m_server.url("/allowed").toString());
        QTRY_COMPARE_WITH_TIMEOUT(m_view->title(), QStringLiteral("Allowed"), 20000);
        QVERIFY(!m_view->page()->findChild<CSiteRequestDesk*>());

        // A refused address that is no web site cannot be asked for: no button, no request.
        QVERIFY(refuse("javascript:alert(1)"));
        auto* desk = m_view->page()->findChild<CSiteRequestDesk*>();
        QVERIFY(desk);
        QVERIFY(!shown("ask"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be recorded"));
        QCOMPARE(desk->ask(), int(CSiteRequestDesk::NotSent));

        // Back on a web page the desk stays, and answers nothing.
        m_view->Navigate(m_server.url("/allowed").toString());
        QTRY_COMPARE_WITH_TIMEOUT(m_view->url(), m_server.url("/allowed"), 20000);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("which is not the warning page"));
        QCOMPARE(desk->ask(), int(CSiteRequestDesk::NotSent));
        QVERIFY(pendingAddresses().isEmpty());
    }
};

QTEST_MAIN(TestAskParent)
#include "tst_askparent.moc"
