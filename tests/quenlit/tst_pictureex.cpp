#include "paths.h"

#include <quenlit/gifframes.h>
#include <quenlit/picturebox.h>
#include <quenlit/pictureex.h>

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace Quenlit;

namespace {

enum Ink : char { Black, Red, Green, Blue, White, Yellow };
const QList<QRgb> kPalette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0),
                              qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(255, 255, 0)};
const QColor kBackground(10, 20, 30);

GifWriteFrame solid(const QRect& rect, Ink ink, int delay = 10, int disposal = 1)
{
    GifWriteFrame f;
    f.rect = rect;
    f.indices = QByteArray(rect.width() * rect.height(), ink);
    f.delay = delay;
    f.disposal = disposal;
    return f;
}

QByteArray gifBytes(const QSize& screen, const QList<GifWriteFrame>& frames)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.gif"));
    if (!WriteGifFile(path, screen, kPalette, frames, 0))
        return {};
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A GIF of three frames with distinct delays, used for damage tests.
QByteArray threeFrames()
{
    return gifBytes(QSize(12, 12), {solid(QRect(0, 0, 12, 12), Red, 10), solid(QRect(2, 2, 8, 8), Green, 20),
                                    solid(QRect(4, 4, 4, 4), Blue, 30)});
}

// The smallest GIF there is, written by hand: one transparent 1x1 image.
const QByteArray kHandMadeGif = QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c0000000001"
                                                   "0001000002024401003b");

QRgb at(const QImage& img, int x, int y)
{
    return img.pixel(x, y) | 0xff000000u;
}

} // namespace

Q_DECLARE_METATYPE(Quenlit::GifWriteFrame)

class TestPictureEx : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString save(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

private slots:
    void delayRule_data()
    {
        QTest::addColumn<int>("delay");
        QTest::addColumn<bool>("controlBlock");
        QTest::addColumn<int>("expectedMs");
        QTest::newRow("no control block") << 0 << false << 100;
        QTest::newRow("0 plays at 100 ms") << 0 << true << 100;
        QTest::newRow("2 plays at 100 ms") << 2 << true << 100;
        QTest::newRow("4 plays at 100 ms") << 4 << true << 100;
        QTest::newRow("5 is taken as given") << 5 << true << 50;
        QTest::newRow("10 is 100 ms") << 10 << true << 100;
        QTest::newRow("25 is 250 ms") << 25 << true << 250;
    }
    void delayRule()
    {
        QFETCH(int, delay);
        QFETCH(bool, controlBlock);
        QFETCH(int, expectedMs);
        GifWriteFrame first = solid(QRect(0, 0, 4, 4), Red, delay);
        first.withControlBlock = controlBlock;
        const QByteArray gif = gifBytes(QSize(4, 4), {first, solid(QRect(0, 0, 4, 4), Green, 500)});
        const GifPicture decoded = DecodeGif(gif);
        QCOMPARE(decoded.frames.size(), 2);
        QCOMPARE(decoded.frames[0].delay, controlBlock ? delay : -1);
        QCOMPARE(GifFrameDelayMs(decoded.frames[0].delay), expectedMs);
        QCOMPARE(ComposeGifCycle(decoded.frames, QSize(4, 4), kBackground).first().delayMs, expectedMs);

        CPictureEx pic;
        pic.resize(8, 8);
        QVERIFY(pic.Load(gif));
        QCOMPARE(pic.Draw(), false);
        QVERIFY(pic.IsPlaying());
        auto* timer = pic.findChild<QTimer*>(QStringLiteral("animationTimer"));
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), expectedMs);
        QCOMPARE(pic.GetCurrentDelay(), expectedMs);
        // The next frame, with its own 5 s delay, follows after the first one's wait.
        QTRY_COMPARE(pic.GetCurrentFrame(), 1);
        QCOMPARE(timer->interval(), 5000);
    }

    void framesAreCentredWhateverTheirOffset_data()
    {
        QTest::addColumn<QRect>("frameRect");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QPoint>("expectedTopLeft");
        QTest::newRow("offset at the far corner") << QRect(30, 30, 10, 10) << QSize(60, 40) << QPoint(25, 15);
        QTest::newRow("offset at the origin") << QRect(0, 0, 10, 10) << QSize(60, 40) << QPoint(25, 15);
        QTest::newRow("odd room rounds down") << QRect(5, 0, 10, 10) << QSize(21, 13) << QPoint(5, 1);
        QTest::newRow("wider than the control") << QRect(0, 10, 40, 10) << QSize(30, 40) << QPoint(0, 15);
        QTest::newRow("taller than the control") << QRect(10, 0, 10, 40) << QSize(30, 20) << QPoint(10, 0);
    }
    void framesAreCentredWhateverTheirOffset()
    {
        QFETCH(QRect, frameRect);
        QFETCH(QSize, client);
        QFETCH(QPoint, expectedTopLeft);
        QCOMPARE(GifFramePosition(frameRect.size(), client), expectedTopLeft);

        const QByteArray gif = gifBytes(QSize(40, 40), {solid(frameRect, Red), solid(QRect(0, 0, 1, 1), Green)});
        const GifPicture decoded = DecodeGif(gif);
        QCOMPARE(decoded.frames.size(), 2);
        QCOMPARE(decoded.frames[0].offset, frameRect.topLeft());
        const QImage shown = ComposeGifCycle(decoded.frames, client, kBackground).first().image;
        const QRect drawn = QRect(expectedTopLeft, frameRect.size()).intersected(QRect(QPoint(0, 0), client));
        for (int y = 0; y < client.height(); ++y)
            for (int x = 0; x < client.width(); ++x)
                QCOMPARE(at(shown, x, y), drawn.contains(x, y) ? kPalette[Red] : kBackground.rgb());

        // The control shows the same surface.
        CPictureEx pic;
        pic.resize(client);
        QVERIFY(pic.Load(gif));
        pic.SetBkColor(kBackground);
        pic.Draw();
        QCOMPARE(pic.Surface(), shown);
    }

    void disposal_data()
    {
        QTest::addColumn<int>("disposal");
        QTest::addColumn<QRgb>("underMiddleFrame");
        QTest::addColumn<QRgb>("corner");
        QTest::newRow("0 leaves the frame") << 0 << kPalette[Green] << kPalette[Red];
        QTest::newRow("1 leaves the frame") << 1 << kPalette[Green] << kPalette[Red];
        QTest::newRow("2 restores the background") << 2 << kBackground.rgb() << kBackground.rgb();
        QTest::newRow("3 restores the previous picture") << 3 << kPalette[Red] << kPalette[Red];
    }
    void disposal()
    {
        QFETCH(int, disposal);
        QFETCH(QRgb, underMiddleFrame);
        QFETCH(QRgb, corner);
        // 20x20 red, then a 10x10 green with the disposal under test, then a 4x4 blue.
        const QByteArray gif = gifBytes(QSize(20, 20), {solid(QRect(0, 0, 20, 20), Red, 10, 1),
                                                        solid(QRect(0, 0, 10, 10), Green, 10, disposal),
                                                        solid(QRect(0, 0, 4, 4), Blue, 100, 1)});
        const GifPicture decoded = DecodeGif(gif);
        QCOMPARE(decoded.frames.size(), 3);
        QCOMPARE(decoded.frames[1].disposal, disposal);
        const auto cycle = ComposeGifCycle(decoded.frames, QSize(20, 20), kBackground);
        QCOMPARE(cycle.size(), 3);
        QCOMPARE(at(cycle[1].image, 5, 5), kPalette[Green]);
        QCOMPARE(at(cycle[1].image, 0, 0), kPalette[Red]);
        const QImage last = cycle[2].image;
        QCOMPARE(at(last, 9, 9), kPalette[Blue]);
        QCOMPARE(at(last, 5, 5), underMiddleFrame);
        QCOMPARE(at(last, 0, 0), corner);

        // The control plays exactly these pictures, and starts the loop again from the
        // background after the last frame.
        CPictureEx pic;
        pic.resize(20, 20);
        QVERIFY(pic.Load(gif));
        pic.SetBkColor(kBackground);
        QList<QImage> seen;
        connect(&pic, &CPictureEx::frameShown, &pic, [&](int) { seen.append(pic.Surface()); });
        pic.Draw();
        QTRY_VERIFY_WITH_TIMEOUT(seen.size() >= 4, 10000);
        pic.Stop();
        QCOMPARE(seen[0], cycle[0].image);
        QCOMPARE(seen[1], cycle[1].image);
        QCOMPARE(seen[2], cycle[2].image);
        QCOMPARE(seen[3], cycle[0].image);
    }

    void loopRestartsFromTheBackground()
    {
        // A small first frame shows that nothing of the last frame survives the wrap.
        const QByteArray gif = gifBytes(QSize(10, 10), {solid(QRect(0, 0, 2, 2), Red, 10, 1),
                                                        solid(QRect(0, 0, 10, 10), Blue, 10, 1)});
        const GifPicture decoded = DecodeGif(gif);
        QImage surface(10, 10, QImage::Format_RGB32);
        surface.fill(kBackground);
        GifAnimator animator;
        animator.setFrames(decoded.frames);
        animator.renderCurrent(surface);
        animator.advance(surface, kBackground);
        animator.renderCurrent(surface);
        QCOMPARE(at(surface, 0, 0), kPalette[Blue]);
        animator.advance(surface, kBackground);
        QCOMPARE(animator.currentIndex(), 0);
        animator.renderCurrent(surface);
        QCOMPARE(at(surface, 0, 0), kBackground.rgb());
        QCOMPARE(at(surface, 4, 4), kPalette[Red]);
    }

    void transparentPixelsShowWhatIsUnder()
    {
        GifWriteFrame over = solid(QRect(0, 0, 4, 4), Blue, 10, 1);
        over.indices[0] = Black;
        over.transparentIndex = Black;
        const QByteArray gif = gifBytes(QSize(4, 4), {solid(QRect(0, 0, 4, 4), Red, 10, 1), over});
        const auto cycle = ComposeGifCycle(DecodeGif(gif).frames, QSize(4, 4), kBackground);
        QCOMPARE(at(cycle[1].image, 0, 0), kPalette[Red]);
        QCOMPARE(at(cycle[1].image, 1, 0), kPalette[Blue]);
    }

    void stillPictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("gif");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("centre");
        QTest::newRow("one-frame GIF") << gifBytes(QSize(6, 6), {solid(QRect(0, 0, 6, 6), Yellow)}) << true
                                       << QSize(6, 6) << kPalette[Yellow];
        QTest::newRow("hand-made 1x1 transparent GIF") << kHandMadeGif << true << QSize(1, 1) << kBackground.rgb();
        for (const char* format : {"png", "bmp", "jpeg"}) {
            QImage img(8, 4, QImage::Format_RGB32);
            img.fill(QColor(0, 0, 255));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(img.save(&buffer, format));
            QTest::addRow("%s", format) << bytes << false << QSize(8, 4) << qRgb(0, 0, 255);
        }
    }
    void stillPictures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, gif);
        QFETCH(QSize, size);
        QFETCH(QRgb, centre);
        CPictureEx pic;
        pic.resize(30, 20);
        QVERIFY(pic.Load(bytes));
        QCOMPARE(pic.IsGIF(), gif);
        QVERIFY(!pic.IsAnimatedGIF());
        QCOMPARE(pic.GetSize(), size);
        pic.SetBkColor(kBackground);
        QCOMPARE(pic.Draw(), true);
        QVERIFY(!pic.IsPlaying());
        // Stretched over the whole control, corners included.
        const QImage surface = pic.Surface();
        for (QPoint p : {QPoint(15, 10), QPoint(0, 0), QPoint(29, 19)}) {
            const QColor got(at(surface, p.x(), p.y()));
            const QColor want(centre);
            QVERIFY2(qAbs(got.red() - want.red()) < 8 && qAbs(got.green() - want.green()) < 8
                         && qAbs(got.blue() - want.blue()) < 8,
                     qPrintable(got.name()));
        }
        // Painting copies the surface.
        QCOMPARE(pic.grab().toImage().pixel(15, 10) | 0xff000000u, at(surface, 15, 10));
    }

    void loadingFromAFile()
    {
        const QString path = save(QStringLiteral("three.gif"), threeFrames());
        CPictureEx pic;
        QVERIFY(pic.Load(path));
        QVERIFY(pic.IsAnimatedGIF());
        QCOMPARE(pic.GetFrameCount(), 3);
        QCOMPARE(pic.GetSize(), QSize(12, 12));
        QVERIFY(!pic.Load(m_dir.filePath(QStringLiteral("missing.gif"))));
        QVERIFY(!pic.IsGIF());
        QCOMPARE(pic.Draw(), false);
    }

    void everyTruncationKeepsOnlyGoodFrames()
    {
        const QByteArray whole = threeFrames();
        const GifPicture full = DecodeGif(whole);
        QCOMPARE(full.frames.size(), 3);
        QVERIFY(!full.damaged);
        int previous = 0;
        QList<int> counts;
        for (qsizetype n = 0; n < whole.size(); ++n) {
            const QByteArray cut = whole.left(n);
            const GifPicture part = DecodeGif(cut);
            QVERIFY2(part.frames.size() >= previous, qPrintable(QString::number(n)));
            QVERIFY(part.frames.size() <= 3);
            for (int i = 0; i < part.frames.size(); ++i) {
                QCOMPARE(part.frames[i].image, full.frames[i].image);
                QCOMPARE(part.frames[i].delay, full.frames[i].delay);
            }
            previous = int(part.frames.size());
            if (counts.isEmpty() || counts.last() != previous)
                counts.append(previous);

            CPictureEx pic;
            pic.resize(12, 12);
            QCOMPARE(pic.Load(cut), previous > 0);
            QCOMPARE(pic.IsAnimatedGIF(), previous > 1);
        }
        // Cuts land before the first frame, after one, after two; the last byte is the
        // trailer, without which all three frames are still whole.
        QCOMPARE(counts, (QList<int>{0, 1, 2, 3}));
        QVERIFY(DecodeGif(whole.left(whole.size() - 1)).damaged);

        // A file on disk cut inside the third frame plays the first two.
        const QString path = save(QStringLiteral("cut.gif"), whole.left(whole.size() - 6));
        CPictureEx pic;
        QVERIFY(pic.Load(path));
        QCOMPARE(pic.GetFrameCount(), 2);
    }

    void garbageIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("this is not a picture at all");
        QTest::newRow("signature only") << QByteArray("GIF89a");
        QTest::newRow("signature and noise") << QByteArray("GIF89a").append(QByteArray(200, '\xa7'));
        QTest::newRow("huge screen, no image") << QByteArray::fromHex("474946383961ffffffff00000000003b");
        QTest::newRow("huge image") << QByteArray::fromHex("474946383961010001008000000000000000ff2c00000000ffffffff00"
                                                           "02024401003b");
        QTest::newRow("png signature, broken") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    }
    void garbageIsRefused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(DecodeGif(bytes).frames.isEmpty());
        CPictureEx pic;
        QVERIFY(!pic.Load(bytes));
        QCOMPARE(pic.Draw(), false);
        QVERIFY(pic.Surface().isNull());
    }

    void corruptedBytesNeverCrash()
    {
        const QByteArray whole = threeFrames();
        // Hundreds of expected refusals would bury the output.
        QLoggingCategory::setFilterRules(QStringLiteral("lorvane.skin*.warning=false"));
        auto restore = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        QRandomGenerator random(20240601);
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes = whole;
            const int flips = 1 + random.bounded(4);
            for (int i = 0; i < flips; ++i)
                bytes[6 + random.bounded(int(bytes.size()) - 6)] = char(random.bounded(256));
            const GifPicture decoded = DecodeGif(bytes);
            CPictureEx pic;
            pic.resize(16, 16);
            QCOMPARE(pic.Load(bytes), !decoded.frames.isEmpty());
            pic.Draw();
            pic.Stop();
        }
    }

    void stopWhenNothingPlays()
    {
        CPictureEx pic;
        pic.Stop();
        QVERIFY(!pic.IsPlaying());
        pic.resize(12, 12);
        QVERIFY(pic.Load(threeFrames()));
        pic.Stop();
        QVERIFY(!pic.IsPlaying());
        QCOMPARE(pic.GetCurrentFrame(), 0);

        QSignalSpy shown(&pic, &CPictureEx::frameShown);
        pic.Draw();
        QVERIFY(pic.IsPlaying());
        QTRY_VERIFY(pic.GetCurrentFrame() >= 1);
        pic.Stop();
        const int frame = pic.GetCurrentFrame();
        QVERIFY(!pic.IsPlaying());
        QVERIFY(!pic.findChild<QTimer*>(QStringLiteral("animationTimer"))->isActive());
        // Drawing again goes on from the frame that was showing.
        shown.clear();
        pic.Draw();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().first().toInt(), frame);
    }

    void unloadThenDrawDoesNothing()
    {
        CPictureEx pic;
        pic.resize(12, 12);
        QVERIFY(pic.Load(threeFrames()));
        pic.SetBkColor(kBackground);
        pic.SetPaintRect(QRect(2, 2, 4, 4));
        pic.Draw();
        pic.UnLoad();
        QVERIFY(!pic.IsPlaying());
        QVERIFY(!pic.IsGIF());
        QCOMPARE(pic.GetFrameCount(), 0);
        QCOMPARE(pic.GetSize(), QSize());
        QCOMPARE(pic.GetBkColor(), QColor(Qt::white));
        QCOMPARE(pic.GetPaintRect(), QRect());
        QSignalSpy shown(&pic, &CPictureEx::frameShown);
        QCOMPARE(pic.Draw(), false);
        QVERIFY(pic.Surface().isNull());
        QCOMPARE(shown.size(), 0);
        // Without a surface the background colour cannot be set.
        pic.SetBkColor(kBackground);
        QCOMPARE(pic.GetBkColor(), QColor(Qt::white));
    }

    void backgroundAndPaintRect()
    {
        CPictureEx pic;
        pic.resize(20, 20);
        QVERIFY(pic.Load(gifBytes(QSize(4, 4), {solid(QRect(0, 0, 4, 4), Red)})));
        QCOMPARE(pic.GetBkColor(), pic.palette().color(QPalette::Button));
        pic.SetBkColor(kBackground);
        QCOMPARE(pic.GetBkColor(), kBackground);
        QCOMPARE(at(pic.Surface(), 19, 19), kBackground.rgb());
        QImage surface = pic.Surface();
        QCOMPARE(surface.size(), QSize(20, 20));
        pic.Draw();
        pic.SetPaintRect(QRect(5, 5, 10, 10));
        const QImage painted = pic.grab().toImage();
        QCOMPARE(painted.pixel(0, 0) | 0xff000000u, at(pic.Surface(), 5, 5));
    }

    void generatedWaitAnimation()
    {
        const QString path = GetPictureDirectory() + QStringLiteral("/wait_web_down.gif");
        QVERIFY2(QFile::exists(path), qPrintable(path + QStringLiteral(" is made by the lorvane_resources target")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("GIF89a"));
        QVERIFY(bytes.contains("NETSCAPE2.0"));
        const GifPicture decoded = DecodeGif(bytes);
        QVERIFY(!decoded.damaged);
        QVERIFY(decoded.frames.size() > 1);
        QVERIFY(decoded.screen.width() >= 32 && decoded.screen.width() <= 48);
        for (int i = 1; i < decoded.frames.size(); ++i)
            QVERIFY2(decoded.frames[i].image != decoded.frames[0].image, "every frame moves the ring on");

        CPictureEx pic;
        pic.resize(48, 48);
        QVERIFY(pic.Load(path));
        QVERIFY(pic.IsAnimatedGIF());
        QVERIFY(pic.GetFrameCount() > 1);
        pic.Draw();
        QVERIFY(pic.IsPlaying());
        QTRY_COMPARE(pic.GetCurrentFrame(), 2);
        pic.Stop();
    }

    void writerRefusesBadFrames_data()
    {
        QTest::addColumn<GifWriteFrame>("frame");
        GifWriteFrame outside = solid(QRect(2, 2, 4, 4), Red);
        GifWriteFrame badIndex = solid(QRect(0, 0, 2, 2), Red);
        badIndex.indices[3] = char(9);
        GifWriteFrame shortData = solid(QRect(0, 0, 2, 2), Red);
        shortData.indices.chop(1);
        QTest::newRow("outside the screen") << outside;
        QTest::newRow("colour outside the palette") << badIndex;
        QTest::newRow("too few pixels") << shortData;
    }
    void writerRefusesBadFrames()
    {
        QFETCH(GifWriteFrame, frame);
        const QString path = save(QStringLiteral("keep.gif"), QByteArray("old content"));
        QString error;
        QVERIFY(!WriteGifFile(path, QSize(4, 4), kPalette, {frame}, 0, &error));
        QVERIFY(!error.isEmpty());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old content"));
    }

    void pictureBoxShowsAndClears()
    {
        CPictureBox box;
        box.resize(40, 30);
        QImage red(4, 3, QImage::Format_RGB32);
        red.fill(Qt::red);
        box.SetBitmap(red);
        QImage shown = box.grab().toImage();
        QCOMPARE(shown.pixel(0, 0) | 0xff000000u, qRgb(87, 117, 159));
        QCOMPARE(shown.pixel(39, 29) | 0xff000000u, qRgb(87, 117, 159));
        QCOMPARE(shown.pixel(20, 15) | 0xff000000u, qRgb(255, 0, 0));
        QCOMPARE(shown.pixel(1, 1) | 0xff000000u, qRgb(255, 0, 0));
        box.SetBitmap(QImage());
        QVERIFY(box.Bitmap().isNull());
        shown = box.grab().toImage();
        QCOMPARE(shown.pixel(20, 15) | 0xff000000u, qRgb(255, 255, 255));
        QCOMPARE(shown.pixel(0, 0) | 0xff000000u, qRgb(87, 117, 159));
    }
};

QTEST_MAIN(TestPictureEx)
#include "tst_pictureex.moc"
