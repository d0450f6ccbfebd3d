#include "browsertestfixture.h"
#include "customcontrolsite.h"
#include "ieview.h"
#include "messagerecorder.h"
#include "testhttpserver.h"

#include <QSignalSpy>

// What a page's scripts get from the browser: its message boxes under the browser's
// caption with the child's answer handed back, a window.external whose members exist
// but do nothing, and none of the refresh, open, print and new-window keys.
class TestPageScripting : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    std::unique_ptr<IsolatedEnvironment> m_env;
    std::unique_ptr<CIEView> m_view;

    // A page view on `path` of the test server, shown and holding the keyboard.
    bool open(const QString& path, const QString& title)
    {
        m_view = std::make_unique<CIEView>();
        m_view->resize(640, 480);
        m_view->show();
        if (!QTest::qWaitForWindowExposed(m_view.get()))
            return false;
        m_view->Navigate(m_server.url(path).toString());
        if (!QTest::qWaitFor([this, title] { return m_view->title() == title; }, 20000))
            return false;
        return QTest::qWaitFor([this] { return m_view->focusProxy() != nullptr; }, 20000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addTitledPage("/plain", "Plain", "<iframe id='f' src='/framed'></iframe>");
        m_server.addTitledPage("/framed", "Framed");
        // Every key the page receives, in order; loads are counted across reloads.
        m_server.addTitledPage(
            "/keys", "Keys",
            "<input id='a' value='hello'><input id='b'>"
            "<script>window.keys = []; sessionStorage.loads = (+sessionStorage.loads || 0) + 1;"
            "addEventListener('keydown', e => e.key === 'Control' || keys.push((e.ctrlKey ? 'Ctrl+' : '') + e.key));"
            "</script>");
    }

    void init()
    {
        m_env = std::make_unique<IsolatedEnvironment>();
        UseDatabaseOf(*m_env);
        ResetBrowserConfig(0, "about:blank");
    }

    void cleanup()
    {
        m_view.reset();
        m_env.reset();
    }

    void scriptBoxesGoThroughTheProgram()
    {
        QVERIFY(open("/plain", "Plain"));
        MessageRecorder boxes;
        boxes.answerNext(MsgResult::Ok); // the alert
        boxes.answerNext(MsgResult::Cancel);
        boxes.answerNext(MsgResult::Ok);
        boxes.answerNextPrompt(QStringLiteral("小明"));
        const QVariant answers =
            Evaluate(m_view->page(), "alert('It\\'s \"%s\" 50%'); "
                                     "[confirm('no?'), confirm('yes?'), prompt('name?', 'me'), prompt('again?', 'x')]");
        QCOMPARE(answers.toList(), (QVariantList{false, true, QStringLiteral("小明"), QVariant()}));
        QCOMPARE(boxes.count(), 5);
        const QStringList texts{"It's \"%s\" 50%", "no?", "yes?", "name?", "again?"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(boxes.boxes().at(i).text, texts.at(i));
            QCOMPARE(boxes.boxes().at(i).caption, QString::fromUtf8(CCustomControlSite::kScriptBoxCaption));
        }
        QCOMPARE(boxes.boxes().at(0).buttons, MsgButtons::Ok);
        QCOMPARE(boxes.boxes().at(1).buttons, MsgButtons::OkCancel);
        QCOMPARE(boxes.boxes().at(3).suggested, QString("me"));
    }

    void externalMembersExistAndDoNothing_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("page") << "window";
        QTest::newRow("frame") << "document.getElementById('f').contentWindow";
    }
    void externalMembersExistAndDoNothing()
    {
        QFETCH(QString, where);
        QVERIFY(open("/plain", "Plain"));
        QTRY_COMPARE_WITH_TIMEOUT(
            Evaluate(m_view->page(), "document.getElementById('f').contentDocument.title").toString(),
            QString("Framed"), 20000);
        const QString script = QStringLiteral(
            "(function (w) {"
            "  var names = ['CB_IsOurCustomBrowser', 'CB_Close', 'CB_CustomFunction', 'CB_CustomFunctionWithParams',"
            "               'CB_OpenWindow', 'CB_ShowModalDialog', 'CB_ShowModelessDialog'];"
            "  var out = names.map(function (n) {"
            "    if (!(n in w.external) || typeof w.external[n] !== 'function') return n + ' missing';"
            "    try { w.external[n](1, 2); return n + ' did something'; } catch (e) { return 'throws'; }"
            "  });"
            "  out.push('cb_close' in w.external, w.external.CB_Nothing === undefined);"
            "  w.external.CB_Close = null;"
            "  out.push(typeof w.external.CB_Close);"
            "  return out;"
            "})(%1)").arg(where);
        const QVariantList answers = Evaluate(m_view->page(), script).toList();
        QCOMPARE(answers.size(), 10);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(answers.at(i).toString(), QString("throws"));
        QCOMPARE(answers.at(7).toBool(), false);
        QCOMPARE(answers.at(8).toBool(), true);
        QCOMPARE(answers.at(9).toString(), QString("function"));
    }

    // Keys sent to the page's own widget, the way the keyboard delivers them.
    void shortcutsKeptFromThePage()
    {
        QVERIFY(open("/keys", "Keys"));
        Evaluate(m_view->page(), "document.getElementById('a').focus(); true");
        QWidget* target = m_view->focusProxy();
        QSignalSpy loads(m_view.get(), &QWebEngineView::loadStarted);
        QTest::keyClick(target, Qt::Key_F5);
        QTest::keyClick(target, Qt::Key_F5, Qt::ControlModifier);
        for (Qt::Key key : {Qt::Key_O, Qt::Key_P, Qt::Key_N})
            QTest::keyClick(target, key, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_Tab);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_X);
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(m_view->page(), "keys.join(' ')").toString(),
                                  QString("Ctrl+a Ctrl+c Tab Ctrl+v x"), 10000);
        // Select all and copy worked: the text arrived in the second field.
        QCOMPARE(Evaluate(m_view->page(), "document.getElementById('b').value").toString(), QString("hellox"));
        QTest::qWait(500);
        QCOMPARE(loads.count(), 0);
        QCOMPARE(Evaluate(m_view->page(), "sessionStorage.loads").toString(), QString("1"));
    }
};

QTEST_MAIN(TestPageScripting)
#include "tst_pagescripting.moc"
