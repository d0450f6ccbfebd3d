// The gallery renders every control with every shipped skin.
#include "inioperater.h"
#include "paths.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool isUniform(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixel(x, y) != first)
                return false;
    return true;
}

} // namespace

class TestPelloraGallery : public QObject
{
    Q_OBJECT

private slots:
    void rendersEveryControlInEverySkin()
    {
        QTemporaryDir out;
        QProcess gallery;
        // Each message with its category, so that the skin library's reports can be told apart.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_MESSAGE_PATTERN"), QStringLiteral("%{category}: %{message}"));
        gallery.setProcessEnvironment(env);
        gallery.start(GetExeDirectory() + QStringLiteral("/pellora-gallery"),
                      {QStringLiteral("--output"), out.path()});
        QVERIFY(gallery.waitForFinished(120000));
        QCOMPARE(gallery.exitStatus(), QProcess::NormalExit);
        const QByteArray errors = gallery.readAllStandardError();
        QVERIFY2(gallery.exitCode() == 0, errors.constData());
        // Every picture of every shipped skin was found.
        QVERIFY2(!errors.contains("lorvane.skin"), errors.constData());

        const QStringList skins =
            CINIOperater(GetExeDirectory() + QStringLiteral("/skinlist.ini")).ReadSections();
        QVERIFY(skins.size() >= 3);
        const QStringList controls{
            QStringLiteral("dialog"),          QStringLiteral("button_normal"),  QStringLiteral("button_hover"),
            QStringLiteral("button_press"),    QStringLiteral("edit"),           QStringLiteral("combobox"),
            QStringLiteral("combobox_pressed"), QStringLiteral("combobox_list"), QStringLiteral("tabbar"),
            QStringLiteral("tabbar_single"),   QStringLiteral("tabbar_overflow"), QStringLiteral("statusbar"),
            QStringLiteral("controlbutton"),   QStringLiteral("gradients"),      QStringLiteral("toolbar"),
            QStringLiteral("overview"),        QStringLiteral("all")};
        for (const QString& skin : skins) {
            for (const QString& control : controls) {
                const QString path = QStringLiteral("%1/%2/%3.png").arg(out.path(), skin, control);
                const QImage image(path);
                QVERIFY2(!image.isNull(), qPrintable(path));
                QVERIFY2(!isUniform(image), qPrintable(path));
            }
            // Each look of a control is its own picture.
            const QString folder = out.path() + QLatin1Char('/') + skin + QLatin1Char('/');
            QVERIFY(QImage(folder + QStringLiteral("button_normal.png")) != QImage(folder + QStringLiteral("button_hover.png")));
            QVERIFY(QImage(folder + QStringLiteral("combobox.png")) != QImage(folder + QStringLiteral("combobox_pressed.png")));
        }
        // Different skins give different pictures.
        QVERIFY(QImage(out.path() + QLatin1Char('/') + skins.at(0) + QStringLiteral("/tabbar.png"))
                != QImage(out.path() + QLatin1Char('/') + skins.at(1) + QStringLiteral("/tabbar.png")));
    }
};

QTEST_GUILESS_MAIN(TestPelloraGallery)
#include "tst_pellora_gallery.moc"
