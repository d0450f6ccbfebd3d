// The skins, skin list and button faces the build ships into the program folder.
#include "inioperater.h"
#include "paths.h"
#include "skintest.h"

#include <pellora/colorref.h>
#include <pellora/skinpaint.h>
#include <pellora/surfacemanager.h>

#include <QFileInfo>
#include <QSet>
#include <QTest>

#include <cmath>

using namespace Pellora;

namespace {

QString installFolder()
{
    return GetExeDirectory();
}

QStringList shippedSkins()
{
    return CINIOperater(installFolder() + QStringLiteral("/skinlist.ini")).ReadSections();
}

QString definitionOf(const QString& id)
{
    const QString file = CINIOperater(installFolder() + QStringLiteral("/skinlist.ini"))
                             .ReadString(id, QStringLiteral("INI_FILE"));
    return installFolder() + QStringLiteral("/skin/") + file;
}

double luminance(const QColor& c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The average colour of the opaque pixels of a picture.
QColor averageColor(const QImage& image)
{
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 255)
                continue;
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

bool hasTransparency(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 0)
                return true;
    return false;
}

} // namespace

class TestShippedSkins : public QObject
{
    Q_OBJECT

private slots:
    void listAndCurrentSkin()
    {
        const QStringList skins = shippedSkins();
        QVERIFY2(skins.size() >= 3, qPrintable(skins.join(QLatin1Char(','))));
        QSet<QString> names;
        for (const QString& id : skins) {
            const CINIOperater list(installFolder() + QStringLiteral("/skinlist.ini"));
            const QString name = list.ReadString(id, QStringLiteral("INI_NAME"));
            QVERIFY(!name.isEmpty());
            names.insert(name);
            QVERIFY2(QFileInfo(definitionOf(id)).isFile(), qPrintable(definitionOf(id)));
        }
        QCOMPARE(names.size(), skins.size());
        const QString current = CINIOperater(installFolder() + QStringLiteral("/currentskin.ini"))
                                    .ReadString(QStringLiteral("CURRENT_SKIN"), QStringLiteral("SKIN_NAME"));
        QVERIFY2(skins.contains(current), qPrintable(current));
    }

    void everyKeyNamesALoadableImage_data()
    {
        QTest::addColumn<QString>("id");
        for (const QString& id : shippedSkins())
            QTest::newRow(qPrintable(id)) << id;
    }
    void everyKeyNamesALoadableImage()
    {
        QFETCH(QString, id);
        const QString definition = definitionOf(id);
        const CINIOperater ini(definition);
        for (const CSurfaceManager::ImageKey& k : CSurfaceManager::ImageKeys())
            QVERIFY2(!ini.ReadString(QLatin1String(k.section), QLatin1String(k.key)).isEmpty(), k.key);
        for (const CSurfaceManager::ColorKey& k : CSurfaceManager::ColorKeys()) {
            unsigned long value = 0;
            QVERIFY2(ParseColorRef(ini.ReadString(QLatin1String(k.section), QLatin1String(k.key)), &value), k.key);
        }
        SkinTest::LoggedWarnings log;
        CSurfaceManager::LoadFromFile(definition);
        for (const CSurfaceManager::ImageKey& k : CSurfaceManager::ImageKeys())
            QVERIFY2(!LoadSkinImage(*k.member).isNull(), qPrintable(QLatin1String(k.key) + QLatin1Char(' ') + *k.member));
        // A shipped skin is the happy path: nothing of it is reported.
        QCOMPARE(log.in(QStringLiteral("lorvane.skin")), QStringList());
        // The preview page's pictures, named relative to the skin folder.
        const QString folder = CSurfaceManager::SkinFolder(definition);
        for (const char* key : {"PREV_IMAGE_NORMAL", "PREV_IMAGE_HOVER", "PREV_IMAGE_PRESS"}) {
            const QString file = ini.ReadString(QStringLiteral("SUFACE_PREV"), QLatin1String(key));
            QVERIFY2(!file.isEmpty() && !QImage(folder + file).isNull(), key);
        }
    }

    void transparencyWhereItIsMeant_data() { everyKeyNamesALoadableImage_data(); }
    void transparencyWhereItIsMeant()
    {
        QFETCH(QString, id);
        CSurfaceManager::LoadFromFile(definitionOf(id));
        using SM = CSurfaceManager;
        for (const QString* path : {&SM::m_strTabCloseButton, &SM::m_strTabButtonLeftNormal, &SM::m_strTabButtonRightActive,
                                    &SM::m_strComboBoxBkLeft, &SM::m_strComboBoxPushButtonNormal,
                                    &SM::m_strFaceDialogTitleLeft, &SM::m_strFaceDialogBottomRight,
                                    &SM::m_strPreviewSkinSelectDialog, &SM::m_strTabPrevButtonNormal})
            QVERIFY2(hasTransparency(LoadSkinImage(*path)), qPrintable(*path));
        // Arrow masks are black where the arrow shows and white elsewhere.
        const QImage mask = LoadSkinImage(SM::m_strTabForwardButtonMask);
        QCOMPARE(mask.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(mask.pixelColor(mask.width() / 2, mask.height() / 2), QColor(Qt::black));
        // The preview dialog's shape comes from the non-magenta pixels of the file.
        const QRegion shape = BitmapToRegion(QImage(SM::m_strPreviewSkinSelectDialog), QColor(255, 0, 255));
        QVERIFY(!shape.isEmpty());
        QVERIFY(!shape.contains(QPoint(0, 0)));
    }

    void textsAreLegible_data() { everyKeyNamesALoadableImage_data(); }
    void textsAreLegible()
    {
        QFETCH(QString, id);
        using SM = CSurfaceManager;
        SM::LoadFromFile(definitionOf(id));
        const QColor normalTab = averageColor(LoadSkinImage(SM::m_strTabButtonMiddleNormal));
        const QColor activeTab = averageColor(LoadSkinImage(SM::m_strTabButtonMiddleActive));
        QVERIFY2(contrast(ColorRefToQColor(SM::m_TabNormalTextColor), normalTab) >= 4.5, qPrintable(id));
        QVERIFY2(contrast(ColorRefToQColor(SM::m_TabActiveTextColor), activeTab) >= 4.5, qPrintable(id));
        QVERIFY2(contrast(ColorRefToQColor(SM::m_StatusTextColor), ColorRefToQColor(SM::m_CoolTabCtrlBkColor)) >= 4.5,
                 qPrintable(id));
        // Buttons carry black captions.
        const QColor button = averageColor(LoadSkinImage(SM::m_strFaceButtonNormalMiddle));
        QVERIFY2(contrast(Qt::black, button) >= 7, qPrintable(id));
    }

    void skinsLookDifferent()
    {
        QSet<unsigned long> bars;
        QSet<unsigned long> dialogs;
        for (const QString& id : shippedSkins()) {
            CSurfaceManager::LoadFromFile(definitionOf(id));
            bars.insert(CSurfaceManager::m_CoolTabCtrlBkColor);
            dialogs.insert(CSurfaceManager::m_AddFavorDlgBkColor);
        }
        QCOMPARE(bars.size(), shippedSkins().size());
        QCOMPARE(dialogs.size(), shippedSkins().size());
    }

    void commonButtonFaces_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        const QStringList toolbar{"homepagenm", "homepagehv", "homepageps", "favornm", "favorhover", "favorpress",
                                  "backnm", "backhv", "backprs", "forwardnm", "forwardhv", "forwardpress",
                                  "refreshnm", "refreshhv", "refreshpr", "stopnm", "stophv", "stoppress",
                                  "printnm", "printhv", "printpress", "surfacenm", "surfacehv", "surfacepress"};
        for (const QString& name : toolbar)
            QTest::newRow(qPrintable(name)) << name + QStringLiteral(".png") << QSize(40, 40);
        for (const char* name : {"closenm", "closehv", "closepress"})
            QTest::newRow(name) << QLatin1String(name) + QStringLiteral(".png") << QSize(25, 25);
        for (const char* name : {"addfavornormal", "addfavorhover", "addfavorpress", "addblanknormal",
                                 "addblankhover", "addblankpress"})
            QTest::newRow(name) << QLatin1String(name) + QStringLiteral(".png") << QSize(23, 23);
        QTest::newRow("logo") << QStringLiteral("logo.png") << QSize(64, 64);
    }
    void commonButtonFaces()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        const QImage image(installFolder() + QStringLiteral("/Common/") + file);
        QVERIFY2(!image.isNull(), qPrintable(file));
        QCOMPARE(image.size(), size);
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size.width() / 2, size.height() / 2)), 255);
    }

    void hoverAndPressFacesDiffer()
    {
        const QString common = installFolder() + QStringLiteral("/Common/");
        const QImage normal(common + QStringLiteral("homepagenm.png"));
        const QImage hover(common + QStringLiteral("homepagehv.png"));
        const QImage press(common + QStringLiteral("homepageps.png"));
        QVERIFY(normal != hover);
        QVERIFY(normal != press);
        QVERIFY(hover != press);
    }
};

QTEST_MAIN(TestShippedSkins)
#include "tst_shippedskins.moc"
