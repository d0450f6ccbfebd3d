#include "bitmap.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

class TestBitmap : public QObject
{
    Q_OBJECT

private slots:
    void copyOfAWidgetRectangle()
    {
        QWidget w;
        w.resize(80, 60);
        w.setAutoFillBackground(true);
        QPalette p = w.palette();
        p.setColor(QPalette::Window, QColor(10, 200, 30));
        w.setPalette(p);

        const QImage part = CopyDCToBitmap(&w, QRect(10, 10, 30, 20));
        QCOMPARE(part.size(), QSize(30, 20));
        QCOMPARE(QColor(part.pixel(5, 5)), QColor(10, 200, 30));

        // A rectangle partly outside is clipped to what the widget has.
        QCOMPARE(CopyDCToBitmap(&w, QRect(60, 50, 100, 100)).size(), QSize(20, 10));
        QVERIFY(CopyDCToBitmap(&w, QRect(200, 200, 10, 10)).isNull());
        QVERIFY(CopyDCToBitmap(nullptr, QRect(0, 0, 10, 10)).isNull());
    }

    void savedBmpReadsBackTheSamePixels()
    {
        QTemporaryDir dir;
        QImage img(17, 9, QImage::Format_ARGB32);
        img.fill(QColor(255, 0, 255));
        img.setPixel(3, 4, qRgb(1, 2, 3));
        const QString path = dir.filePath("snap.bmp");
        QVERIFY(SaveToFile(img, path) != 0);

        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(2), QByteArray("BM"));
        f.close();

        const QImage back(path);
        QCOMPARE(back.size(), img.size());
        QCOMPARE(QColor(back.pixel(3, 4)), QColor(1, 2, 3));
        QCOMPARE(QColor(back.pixel(0, 0)), QColor(255, 0, 255));
    }

    void failedSaveLeavesNoFile()
    {
        QTemporaryDir dir;
        QImage img(4, 4, QImage::Format_RGB32);
        img.fill(Qt::red);
        QCOMPARE(SaveToFile(img, dir.filePath("no/such/folder/x.bmp")), 0);
        QCOMPARE(SaveToFile(QImage(), dir.filePath("empty.bmp")), 0);
        QVERIFY(!QFile::exists(dir.filePath("empty.bmp")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestBitmap)
#include "tst_bitmap.moc"
