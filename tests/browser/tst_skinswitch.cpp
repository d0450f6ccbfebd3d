#include "browsertestfixture.h"
#include "browserids.h"
#include "controltoolbar.h"
#include "coolpngbutton.h"
#include "inioperater.h"
#include "javascript.h"
#include "mainframe.h"
#include "nextdialog.h"
#include "previewskinselectdlg.h"
#include "skinfiles.h"
#include "tabcontainerbar.h"
#include "testhttpserver.h"
#include "workspacebar.h"
#include "xdotool.h"

#include <pellora/coolstatusbar.h>
#include <pellora/surfacemanager.h>

#include <QApplication>
#include <QDirIterator>
#include <QScreen>
#include <QSignalSpy>
#include <QWebEngineView>

using Pellora::CSurfaceManager;

// The skin dialog and a change of skin, in real windows: the preview page offers every
// skin that can be shown whole, once; its "app:" addresses close the dialog or put a
// skin on; a pick is remembered for the next start and repaints the whole browser.
namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            return false;
    }
    return true;
}

int boxCount(QWebEnginePage* page)
{
    return Evaluate(page, QStringLiteral("document.querySelectorAll('.box').length")).toInt();
}

QString currentSkinName()
{
    return CINIOperater(SkinFiles::CurrentSkinPath()).ReadString(QStringLiteral("CURRENT_SKIN"),
                                                                 QStringLiteral("SKIN_NAME"));
}

QImage screenPart(const QWidget* w)
{
    const QRect r(w->mapToGlobal(QPoint()), w->size());
    return QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
}

} // namespace

class TestSkinSwitch : public QObject
{
    Q_OBJECT

    QTemporaryDir m_install;
    std::unique_ptr<IsolatedEnvironment> m_env;
    TestHttpServer m_server;

    QString skin(const QString& id) const { return m_install.path() + QStringLiteral("/skin/") + id + "/skin.ini"; }

    // A dialog whose page has been filled.
    static bool waitFilled(CPreviewSkinSelectDlg& dialog, int boxes)
    {
        return QTest::qWaitFor([&] { return boxCount(dialog.Browser()->page()) == boxes; }, 30000);
    }

private slots:
    void initTestCase()
    {
        // An installation of three whole skins, one whose pictures are lost, and one
        // that is not there at all.
        const QString shipped = QCoreApplication::applicationDirPath();
        const QString root = m_install.path();
        for (const char* folder : {"/skin/sky", "/skin/candy", "/skin/forest", "/Common", "/data/html"})
            QVERIFY(copyTree(shipped + folder, root + folder));
        QVERIFY(QDir().mkpath(root + "/skin/lost"));
        QVERIFY(QFile::copy(shipped + "/skin/sky/skin.ini", root + "/skin/lost/skin.ini"));
        QFile list(root + "/skinlist.ini");
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("[sky]\nINI_FILE=sky/skin.ini\nINI_NAME=天空蓝\n[lost]\nINI_FILE=lost/skin.ini\nINI_NAME=丢了\n"
                   "[candy]\nINI_FILE=candy/skin.ini\nINI_NAME=糖果粉\n[gone]\nINI_FILE=gone/skin.ini\nINI_NAME=没有\n"
                   "[forest]\nINI_FILE=forest/skin.ini\nINI_NAME=森林绿\n");
        list.close();
        QFile current(root + "/currentskin.ini");
        QVERIFY(current.open(QIODevice::WriteOnly));
        current.write("; the skin in use\r\n[CURRENT_SKIN]\r\nSKIN_NAME=sky\r\nNOTE=kept\r\n");
        current.close();
        SetExeDirectoryOverride(root);
        QVERIFY(m_server.listen());
    }

    void cleanupTestCase() { SetExeDirectoryOverride(QString()); }

    void init()
    {
        m_env = std::make_unique<IsolatedEnvironment>();
        UseDatabaseOf(*m_env);
        ResetBrowserConfig(0, QStringLiteral("about:blank"));
        CSurfaceManager::LoadFromFile(skin("sky"));
    }

    void cleanup() { m_env.reset(); }

    void previewOffersEveryWholeSkinOnce()
    {
        const QList<SkinSelect::PreviewBox> boxes =
            SkinSelect::PreviewBoxes([](const QString& d) { return CSurfaceManager::IsUsable(d); });
        QStringList ids;
        for (const SkinSelect::PreviewBox& b : boxes)
            ids << b.id;
        QCOMPARE(ids, (QStringList{"sky", "candy", "forest"}));
        const QStringList statements = CPreviewSkinSelectDlg::PreviewStatements(boxes, QStringLiteral("/bg's.bmp"));
        const QString folder = m_install.path() + "/skin/candy/";
        QCOMPARE(statements.size(), 6);
        QCOMPARE(statements.at(2), QString("AddPrevBox(\"%1preview_normal.png\",\"%1preview_hover.png\","
                                           "\"%1preview_press.png\",\"candy/skin.ini\",\"糖果粉\",\"candy\")")
                                       .arg(folder));
        for (int i = 1; i < 6; i += 2)
            QCOMPARE(statements.at(i), QString("SetBackgroundImage(\"/bg's.bmp\")"));

        // The page shows them in that order, on the skin's background; a reload of the
        // page is not filled again.
        CPreviewSkinSelectDlg dialog;
        dialog.show();
        QVERIFY(waitFilled(dialog, 3));
        QWebEnginePage* page = dialog.Browser()->page();
        QCOMPARE(Evaluate(page, "Array.from(document.querySelectorAll('.box span')).map(s => s.textContent).join()")
                     .toString(),
                 QString("天空蓝,糖果粉,森林绿"));
        QVERIFY(Evaluate(page, "document.body.style.backgroundImage").toString().contains("preview_dialog.bmp"));
        QSignalSpy loaded(dialog.Browser(), &QWebEngineView::loadFinished);
        page->triggerAction(QWebEnginePage::Reload);
        QVERIFY(loaded.wait(20000));
        QTest::qWait(500);
        QCOMPARE(boxCount(page), 0);
    }

    void pageAddresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<QString>("pickedSkin");
        QTest::addColumn<QString>("pageAfter"); // the page's file name afterwards, when open

        QTest::newRow("close") << "app:closewindow@@@" << false << QString() << QString();
        QTest::newRow("change") << "app:OnChangeSurface@@@candy/skin.ini@@@SC@@@candy" << false << "candy"
                                << QString();
        QTest::newRow("neither: nothing happens") << "app:hello@@@" << true << QString() << "ViewSuface.html";
        QTest::newRow("not app: an own page opens")
            << "start.html#OnChangeSurface@@@candy/skin.ini@@@SC@@@candy" << true << QString() << "start.html";
        QTest::newRow("not app: a site does not open in the dialog")
            << "http://127.0.0.1:%1/OnChangeSurface@@@candy/skin.ini@@@SC@@@candy" << true << QString()
            << "ViewSuface.html";
    }
    void pageAddresses()
    {
        QFETCH(QString, address);
        QFETCH(bool, stillOpen);
        QFETCH(QString, pickedSkin);
        QFETCH(QString, pageAfter);
        m_server.addTitledPage("/OnChangeSurface@@@candy/skin.ini@@@SC@@@candy", "site");

        CPreviewSkinSelectDlg dialog;
        QSignalSpy changed(&dialog, &CPreviewSkinSelectDlg::skinChanged);
        dialog.show();
        QVERIFY(waitFilled(dialog, 3));
        QWebEnginePage* page = dialog.Browser()->page();
        if (address.contains("%1"))
            address = address.arg(m_server.port());
        Evaluate(page, QString("location.href = %1; true").arg(JavaScriptStringLiteral(address)));
        if (!stillOpen) {
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
            QCOMPARE(dialog.result(), int(pickedSkin.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        } else {
            QTest::qWait(1500);
            QVERIFY(dialog.isVisible());
            QTRY_COMPARE_WITH_TIMEOUT(page->url().fileName(), pageAfter, 10000);
        }
        QCOMPARE(changed.count(), pickedSkin.isEmpty() ? 0 : 1);
        QCOMPARE(currentSkinName(), pickedSkin.isEmpty() ? QString("sky") : pickedSkin);
        if (!pickedSkin.isEmpty()) {
            QCOMPARE(changed.at(0).at(0).toString(), skin(pickedSkin));
            QCOMPARE(CSurfaceManager::m_strControlToolBkPic.section('/', -2, -2), pickedSkin);
        }
        QVERIFY(!m_server.requestedPaths().contains("/OnChangeSurface@@@candy/skin.ini@@@SC@@@candy"));
    }

    void pickRewritesOnlyTheSkinNameAndTheNextStartLoadsIt()
    {
        const QByteArray list = readAll(m_install.path() + "/skinlist.ini");
        const QByteArray installed = readAll(m_install.path() + "/currentskin.ini");
        CPreviewSkinSelectDlg dialog;
        dialog.show();
        QVERIFY(waitFilled(dialog, 3));
        Evaluate(dialog.Browser()->page(), "document.querySelectorAll('.box')[2].click(); true");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);

        // The child's own copy, byte for byte the installed file but for the one value.
        const QString userCopy = GetUserConfigDirectory() + "/currentskin.ini";
        QCOMPARE(readAll(userCopy), QByteArray(installed).replace("SKIN_NAME=sky", "SKIN_NAME=forest"));
        QCOMPARE(readAll(m_install.path() + "/currentskin.ini"), installed);
        QCOMPARE(readAll(m_install.path() + "/skinlist.ini"), list);

        CSurfaceManager::LoadFromFile(skin("sky"));
        QCOMPARE(SkinFiles::LoadStartSkin(&CSurfaceManager::LoadIfUsable), skin("forest"));
        QVERIFY(CSurfaceManager::m_strTabBackGround.startsWith(m_install.path() + "/skin/forest/"));
    }

    // Without a mouse: the first box has the keyboard, the arrows walk, Enter picks and
    // Escape closes.
    void keyboardPicksToo()
    {
        CPreviewSkinSelectDlg dialog;
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(waitFilled(dialog, 3));
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Browser()->focusProxy(), 10000);
        QWidget* keys = dialog.Browser()->focusProxy();
        QTest::keyClick(keys, Qt::Key_Left); // from the first box round to the last
        QTest::keyClick(keys, Qt::Key_Left);
        QTRY_COMPARE_WITH_TIMEOUT(
            Evaluate(dialog.Browser()->page(), "document.activeElement.textContent").toString(), QString("糖果粉"),
            10000);
        QTest::keyClick(keys, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
        QCOMPARE(currentSkinName(), QString("candy"));

        CPreviewSkinSelectDlg again;
        again.show();
        QVERIFY(waitFilled(again, 3));
        QTRY_VERIFY_WITH_TIMEOUT(again.Browser()->focusProxy(), 10000);
        QTest::keyClick(again.Browser()->focusProxy(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!again.isVisible(), 10000);
        QCOMPARE(again.result(), int(QDialog::Rejected));
        QCOMPARE(currentSkinName(), QString("candy"));
    }

    void unusablePickKeepsTheSkin_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::newRow("pictures lost") << "lost/skin.ini@@@SC@@@lost";
        QTest::newRow("definition missing") << "gone/skin.ini@@@SC@@@gone";
        QTest::newRow("not in the list") << "../../etc/skin.ini@@@SC@@@sky";
        QTest::newRow("no identifier") << "candy/skin.ini";
    }
    void unusablePickKeepsTheSkin()
    {
        QFETCH(QString, choice);
        CPreviewSkinSelectDlg dialog;
        QSignalSpy changed(&dialog, &CPreviewSkinSelectDlg::skinChanged);
        dialog.show();
        QVERIFY(waitFilled(dialog, 3));
        const QString before = CSurfaceManager::m_strTabBackGround;
        Evaluate(dialog.Browser()->page(),
                 QString("location.href = %1; true").arg(JavaScriptStringLiteral("app:OnChangeSurface@@@" + choice)));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
        QVERIFY(dialog.SkinRefused());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(CSurfaceManager::m_strTabBackGround, before);
        QVERIFY(!QFileInfo::exists(GetUserConfigDirectory() + "/currentskin.ini"));
    }

    void startFallsBackToAWholeSkin_data()
    {
        QTest::addColumn<QString>("recorded");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("whole") << "candy" << "candy";
        QTest::newRow("pictures lost") << "lost" << "sky";
        QTest::newRow("not listed") << "nothing" << "sky";
    }
    void startFallsBackToAWholeSkin()
    {
        QFETCH(QString, recorded);
        QFETCH(QString, loaded);
        QVERIFY(SkinFiles::WriteCurrentSkin(recorded));
        CSurfaceManager::LoadFromFile(skin("forest"));
        QCOMPARE(SkinFiles::LoadStartSkin(&CSurfaceManager::LoadIfUsable), skin(loaded));
        QVERIFY(CSurfaceManager::m_strTabBackGround.startsWith(m_install.path() + "/skin/" + loaded + "/"));
    }

    // The child opens the dialog with the skin button and picks a skin with the mouse:
    // the tool bar, the tab strip, the status bar and the side bar change at once.
    void childSwitchesTheWholeBrowser()
    {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.OpenFirstPage();
        frame.ToggleWorkspaceBar();
        QTest::qWait(1500);
        const QList<QWidget*> parts{frame.ControlToolBar(), frame.TabContainerBar(), frame.StatusBar(),
                                    frame.WorkspaceBar()};
        QList<QImage> before;
        for (QWidget* w : parts)
            before << screenPart(w);

        bool seen = false;
        bool busy = false;
        onNextDialog<CPreviewSkinSelectDlg>(
            [&](CPreviewSkinSelectDlg* dialog) {
                busy = frame.IsModalBusy();
                QVERIFY(waitFilled(*dialog, 3));
                QTest::qWait(500);
                const QVariant r = Evaluate(dialog->Browser()->page(),
                                            "(function () { var r = document.querySelectorAll('.box')[1]"
                                            ".getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2];"
                                            "})()");
                const QVariantList centre = r.toList();
                QCOMPARE(centre.size(), 2);
                const QPoint at(centre[0].toInt(), centre[1].toInt());
                QVERIFY(XDoTool::Click(dialog->Browser()->mapToGlobal(at)));
                QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 10000);
            },
            &seen);
        QVERIFY(XDoTool::Click(frame.ControlToolBar()->Button(BrowserIds::kCmdSkin)->mapToGlobal(
            frame.ControlToolBar()->Button(BrowserIds::kCmdSkin)->rect().center())));
        QTRY_VERIFY_WITH_TIMEOUT(seen, 20000);
        QVERIFY(busy);
        QVERIFY(!frame.IsModalBusy());
        QCOMPARE(currentSkinName(), QString("candy"));
        QTest::qWait(500);
        for (int i = 0; i < parts.size(); ++i)
            QVERIFY2(screenPart(parts[i]) != before[i], qPrintable(parts[i]->metaObject()->className()));
        QCOMPARE(frame.StatusBar()->BackColor(), CSurfaceManager::m_CoolTabCtrlBkColor);
        frame.ToggleWorkspaceBar();
    }
};

int main(int argc, char** argv)
{
    CPreviewSkinSelectDlg::RegisterAppScheme();
    QApplication app(argc, argv);
    TestSkinSwitch test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_skinswitch.moc"
