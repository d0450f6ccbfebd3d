// pellora-gallery [--output <folder>] [--install <folder>]
// Renders every control of the browser's skin library with every skin of the skin
// list into <output>/<skin>/<control>.png. Defaults: the skins beside this program and
// the folder "gallery" beside it.
#include "gallery.h"

#include "paths.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    // Pictures are rendered off screen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders the skinned controls with every shipped skin."));
    parser.addHelpOption();
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("Folder the pictures go to."),
                                    QStringLiteral("folder"));
    const QCommandLineOption install(QStringLiteral("install"),
                                     QStringLiteral("Installation folder with skinlist.ini and skin/."),
                                     QStringLiteral("folder"));
    parser.addOption(output);
    parser.addOption(install);
    parser.process(app);

    const QString installFolder =
        QDir(parser.isSet(install) ? parser.value(install) : GetExeDirectory()).absolutePath();
    const QString outputFolder =
        QDir(parser.isSet(output) ? parser.value(output) : GetExeDirectory() + QStringLiteral("/gallery"))
            .absolutePath();

    const QList<GallerySkin> skins = ListSkins(installFolder);
    if (skins.isEmpty()) {
        std::fprintf(stderr, "pellora-gallery: no skins listed in %s/skinlist.ini\n", qPrintable(installFolder));
        return 1;
    }
    int failures = 0;
    for (const GallerySkin& skin : skins) {
        const QString folder = outputFolder + QLatin1Char('/') + skin.id;
        QDir().mkpath(folder);
        for (const GalleryPicture& picture : RenderSkin(skin, installFolder)) {
            const QString path = folder + QLatin1Char('/') + picture.name + QStringLiteral(".png");
            if (picture.image.isNull() || !picture.image.save(path, "PNG")) {
                std::fprintf(stderr, "pellora-gallery: cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
        std::printf("%s (%s): %s\n", qPrintable(skin.id), qPrintable(skin.name), qPrintable(folder));
    }
    return failures ? 1 : 0;
}
