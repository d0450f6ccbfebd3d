#include "messagerecorder.h"
#include "sitesnapshot.h"
#include "testhttpserver.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Left half red, right half blue, a green band across the top tenth: any blank, stale
// or wrongly scaled picture shows up at one of the probe points.
const char kColourBody[] =
    "<div style='position:fixed;left:0;top:0;width:100%;height:60px;background:#00ff00'></div>"
    "<div style='position:fixed;left:0;top:60px;width:50%;bottom:0;background:#ff0000'></div>"
    "<div style='position:fixed;left:50%;top:60px;right:0;bottom:0;background:#0000ff'></div>";

QByteArray ColourPage(const QString& title)
{
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset='utf-8'><title>%1</title></head>"
                          "<body style='margin:0'>%2</body></html>")
        .arg(title, QLatin1String(kColourBody))
        .toUtf8();
}

bool Near(QRgb pixel, QColor expected)
{
    const int tolerance = 40;
    return qAbs(qRed(pixel) - expected.red()) <= tolerance && qAbs(qGreen(pixel) - expected.green()) <= tolerance
        && qAbs(qBlue(pixel) - expected.blue()) <= tolerance;
}

QString Describe(QRgb pixel)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(qRed(pixel)).arg(qGreen(pixel)).arg(qBlue(pixel));
}

bool AllWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

// Probes of the colour page in picture coordinates (128 × 96).
struct Probe {
    QPoint at;
    QColor colour;
};
const Probe kProbes[] = {
    {{5, 3}, Qt::green},    {{120, 3}, Qt::green},  {{10, 40}, Qt::red}, {{50, 90}, Qt::red},
    {{80, 40}, Qt::blue},   {{122, 90}, Qt::blue},
};

} // namespace

class TestSiteSnapshot : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void addressToUrl_data();
    void addressToUrl();
    void capturesPaintedPage_data();
    void capturesPaintedPage();
    void retakesOnEveryLoadOfThePage();
    void pageCannotShowDialogs();
    void unansweredServerKeepsLoadingWithoutBlocking();
    void startingAgainLoadsAnew();
    void pageThatGivesNoPictureStopsTheWait_data();
    void pageThatGivesNoPictureStopsTheWait();
    void savesAndLoadsPicture();
    void loadPictureRejects_data();
    void loadPictureRejects();
    void savePictureFailsCleanly();

private:
    TestHttpServer m_server;
    QTcpServer m_silentServer; // accepts connections and never answers
};

void TestSiteSnapshot::initTestCase()
{
    QVERIFY(m_server.listen());
    QVERIFY(m_silentServer.listen(QHostAddress::LocalHost, 0));
    m_server.addPage(QStringLiteral("/file.bin"), QByteArray(4096, 'x'), "application/octet-stream");
    m_server.addPage(QStringLiteral("/colours"), ColourPage(QStringLiteral("彩色页面")));
    // Red on its first load, blue after it reloads itself once: a retake must show blue.
    m_server.addPage(QStringLiteral("/reloads"),
                     "<!DOCTYPE html><html><head><title>reloads</title></head><body style='margin:0'>"
                     "<div id='fill' style='position:fixed;inset:0;background:#ff0000'></div>"
                     "<div style='position:fixed;left:0;top:0;width:20px;height:20px;background:#000'></div>"
                     "<script>"
                     "if (sessionStorage.getItem('loaded')) {"
                     "  document.getElementById('fill').style.background = '#0000ff';"
                     "} else {"
                     "  sessionStorage.setItem('loaded', '1');"
                     "  setTimeout(function () { location.reload(); }, 1500);"
                     "}"
                     "</script></body></html>");
    // Each box would block a visible page; the hidden one must answer them by itself.
    m_server.addPage(QStringLiteral("/dialogs"),
                     "<!DOCTYPE html><html><head><title>before</title></head><body style='margin:0'>"
                     + QByteArray(kColourBody)
                     + "<script>"
                       "alert('hello');"
                       "var ok = confirm('sure?');"
                       "var typed = prompt('name?', 'x');"
                       "window.open('about:blank');"
                       "document.title = 'confirm=' + ok + ' prompt=' + typed;"
                       "</script></body></html>");
}

void TestSiteSnapshot::addressToUrl_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QUrl>("expected");
    QTest::newRow("bare host gets http") << "www.example.org" << QUrl("http://www.example.org");
    QTest::newRow("host with port and path") << "127.0.0.1:8080/kids" << QUrl("http://127.0.0.1:8080/kids");
    QTest::newRow("surrounding blanks trimmed") << "  www.example.org/a  " << QUrl("http://www.example.org/a");
    QTest::newRow("http kept") << "http://www.example.org/x" << QUrl("http://www.example.org/x");
    QTest::newRow("https kept") << "https://www.example.org/" << QUrl("https://www.example.org/");
    QTest::newRow("empty stays empty") << "   " << QUrl();
}

void TestSiteSnapshot::addressToUrl()
{
    QFETCH(QString, typed);
    QFETCH(QUrl, expected);
    QCOMPARE(CSiteSnapshot::AddressToUrl(typed), expected);
}

void TestSiteSnapshot::capturesPaintedPage_data()
{
    QTest::addColumn<QString>("address");
    const QUrl url = m_server.url(QStringLiteral("/colours"));
    QTest::newRow("full address") << url.toString();
    QTest::newRow("typed without scheme") << url.toString().mid(int(qstrlen("http://")));
}

void TestSiteSnapshot::capturesPaintedPage()
{
    QFETCH(QString, address);
    CSiteSnapshot snapshot;
    QSignalSpy started(&snapshot, &CSiteSnapshot::started);
    QSignalSpy captured(&snapshot, &CSiteSnapshot::captured);
    QSignalSpy finished(&snapshot, &CSiteSnapshot::finishedLoading);
    QSignalSpy titles(&snapshot, &CSiteSnapshot::titleChanged);

    snapshot.Start(address);
    QCOMPARE(started.count(), 1);
    QVERIFY(snapshot.IsLoading());
    QCOMPARE(snapshot.Picture().size(), QSize(128, 96));
    QVERIFY(AllWhite(snapshot.Picture()));

    QTRY_COMPARE_WITH_TIMEOUT(captured.count(), 1, 20000);
    QVERIFY(!snapshot.IsLoading());
    QCOMPARE(finished.count(), 1);
    QVERIFY(titles.contains(QVariantList{QStringLiteral("彩色页面")}));

    const QImage picture = captured.first().first().value<QImage>();
    QCOMPARE(picture.size(), QSize(128, 96));
    QCOMPARE(snapshot.Picture(), picture);
    QVERIFY(!AllWhite(picture));
    for (const Probe& probe : kProbes) {
        const QRgb pixel = picture.pixel(probe.at);
        QVERIFY2(Near(pixel, probe.colour),
                 qPrintable(QStringLiteral("at (%1, %2): %3, expected %4")
                                .arg(probe.at.x())
                                .arg(probe.at.y())
                                .arg(Describe(pixel), probe.colour.name())));
    }
    // The view renders but must never have reached the screen.
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!widget->isVisible() || widget->testAttribute(Qt::WA_DontShowOnScreen));
}

void TestSiteSnapshot::retakesOnEveryLoadOfThePage()
{
    CSiteSnapshot snapshot;
    QSignalSpy captured(&snapshot, &CSiteSnapshot::captured);
    QSignalSpy finished(&snapshot, &CSiteSnapshot::finishedLoading);
    snapshot.Start(m_server.url(QStringLiteral("/reloads")).toString());

    QTRY_COMPARE_WITH_TIMEOUT(captured.count(), 1, 20000);
    QVERIFY(Near(captured.at(0).first().value<QImage>().pixel(64, 60), Qt::red));
    QTRY_COMPARE_WITH_TIMEOUT(captured.count(), 2, 20000);
    const QImage retaken = captured.at(1).first().value<QImage>();
    QVERIFY2(Near(retaken.pixel(64, 60), Qt::blue), qPrintable(Describe(retaken.pixel(64, 60))));
    QCOMPARE(snapshot.Picture(), retaken);
    // The animation stops once, with the first picture.
    QCOMPARE(finished.count(), 1);
}

void TestSiteSnapshot::pageCannotShowDialogs()
{
    MessageRecorder recorder;
    CSiteSnapshot snapshot;
    QSignalSpy captured(&snapshot, &CSiteSnapshot::captured);
    QSignalSpy titles(&snapshot, &CSiteSnapshot::titleChanged);
    const int windowsBefore = int(QApplication::topLevelWidgets().size());
    snapshot.Start(m_server.url(QStringLiteral("/dialogs")).toString());

    QTRY_COMPARE_WITH_TIMEOUT(captured.count(), 1, 20000);
    QVERIFY(Near(snapshot.Picture().pixel(10, 40), Qt::red));
    // Every box was answered "no" at once, without showing anything.
    QTRY_VERIFY_WITH_TIMEOUT(titles.contains(QVariantList{QStringLiteral("confirm=false prompt=null")}), 5000);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(recorder.count(), 0);
    QCOMPARE(int(QApplication::topLevelWidgets().size()), windowsBefore);
}

void TestSiteSnapshot::unansweredServerKeepsLoadingWithoutBlocking()
{
    CSiteSnapshot snapshot;
    QSignalSpy captured(&snapshot, &CSiteSnapshot::captured);
    QSignalSpy finished(&snapshot, &CSiteSnapshot::finishedLoading);
    QSignalSpy connections(&m_silentServer, &QTcpServer::newConnection);

    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(20);
    snapshot.Start(QStringLiteral("127.0.0.1:%1/never").arg(m_silentServer.serverPort()));

    // The request reached the server, and the event loop keeps running while it hangs.
    QTRY_VERIFY_WITH_TIMEOUT(connections.count() > 0, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 25, 20000);
    QVERIFY(snapshot.IsLoading());
    QCOMPARE(captured.count(), 0);
    QCOMPARE(finished.count(), 0);
    QVERIFY(AllWhite(snapshot.Picture()));
}

void TestSiteSnapshot::startingAgainLoadsAnew()
{
    CSiteSnapshot snapshot;
    QSignalSpy started(&snapshot, &CSiteSnapshot::started);
    QSignalSpy captured(&snapshot, &CSiteSnapshot::captured);
    QSignalSpy finished(&snapshot, &CSiteSnapshot::finishedLoading);
    snapshot.Start(QStringLiteral("http://127.0.0.1:%1/never").arg(m_silentServer.serverPort()));
    snapshot.Start(m_server.url(QStringLiteral("/colours")).toString());
    QCOMPARE(started.count(), 2);

    QTRY_COMPARE_WITH_TIMEOUT(captured.count(), 1, 20000);
    QVERIFY(Near(snapshot.Picture().pixel(80, 40), Qt::blue));
    QVERIFY(!snapshot.IsLoading());
    QCOMPARE(finished.count(), 1);

    // A new start whitens the picture again until that page is drawn.
    snapshot.Start(QStringLiteral("http://127.0.0.1:%1/never").arg(m_silentServer.serverPort()));
    QVERIFY(AllWhite(snapshot.Picture()));
    QVERIFY(snapshot.IsLoading());
}

void TestSiteSnapshot::pageThatGivesNoPictureStopsTheWait_data()
{
    QTest::addColumn<QString>("address");
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = closed.serverPort();
    closed.close();
    QTest::newRow("connection refused") << QStringLiteral("http://127.0.0.1:%1/").arg(closedPort);
    QTest::newRow("download refused") << m_server.url(QStringLiteral("/file.bin")).toString();
}

void TestSiteSnapshot::pageThatGivesNoPictureStopsTheWait()
{
    QFETCH(QString, address);
    CSiteSnapshot snapshot;
    QSignalSpy captured(&snapshot, &CSiteSnapshot::captured);
    QSignalSpy finished(&snapshot, &CSiteSnapshot::finishedLoading);
    snapshot.Start(address);

    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QVERIFY(!snapshot.IsLoading());
    QCOMPARE(captured.count(), 0);
    QVERIFY(AllWhite(snapshot.Picture()));
}

void TestSiteSnapshot::savesAndLoadsPicture()
{
    CSiteSnapshot snapshot;
    QSignalSpy captured(&snapshot, &CSiteSnapshot::captured);
    snapshot.Start(m_server.url(QStringLiteral("/colours")).toString());
    QTRY_COMPARE_WITH_TIMEOUT(captured.count(), 1, 20000);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0.bmp"));
    QVERIFY(CSiteSnapshot::SavePicture(snapshot.Picture(), path));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("BM"));
    file.close();

    const QImage loaded = CSiteSnapshot::LoadPicture(path);
    QCOMPARE(loaded.size(), QSize(128, 96));
    // BMP keeps 24-bit colour exactly.
    QCOMPARE(loaded.convertToFormat(QImage::Format_RGB32), snapshot.Picture().convertToFormat(QImage::Format_RGB32));

    // A stored picture of another size is stretched to the snapshot's size.
    QImage large(256, 192, QImage::Format_RGB32);
    large.fill(Qt::red);
    for (int y = 0; y < 192; ++y)
        for (int x = 128; x < 256; ++x)
            large.setPixel(x, y, qRgb(0, 0, 255));
    const QString largePath = dir.filePath(QStringLiteral("large.bmp"));
    QVERIFY(CSiteSnapshot::SavePicture(large, largePath));
    const QImage stretched = CSiteSnapshot::LoadPicture(largePath);
    QCOMPARE(stretched.size(), QSize(128, 96));
    QCOMPARE(stretched.pixel(10, 10), qRgb(255, 0, 0));
    QCOMPARE(stretched.pixel(120, 90), qRgb(0, 0, 255));
}

void TestSiteSnapshot::loadPictureRejects_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("create");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("not a picture") << QByteArray("BM this is no bitmap at all") << true;
}

void TestSiteSnapshot::loadPictureRejects()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, create);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("site.bmp"));
    if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    // Each refusal is told once, with the file it concerns.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(path)));
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QVERIFY(CSiteSnapshot::LoadPicture(path).isNull());
}

void TestSiteSnapshot::savePictureFailsCleanly()
{
    QTemporaryDir dir;
    QImage picture(128, 96, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString inMissingFolder = dir.filePath(QStringLiteral("no/such/folder/site.bmp"));
    QVERIFY(!CSiteSnapshot::SavePicture(picture, inMissingFolder));
    QVERIFY(!QFile::exists(inMissingFolder));
    const QString nullPath = dir.filePath(QStringLiteral("null.bmp"));
    QVERIFY(!CSiteSnapshot::SavePicture(QImage(), nullPath));
    QVERIFY(!QFile::exists(nullPath));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
}

QTEST_MAIN(TestSiteSnapshot)
#include "tst_sitesnapshot.moc"
