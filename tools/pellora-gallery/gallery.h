#pragma once

#include <QImage>
#include <QList>
#include <QString>

// One rendered picture of the gallery.
struct GalleryPicture {
    QString name; // file name without extension
    QImage image;
};

// A shipped skin as the skin list names it.
struct GallerySkin {
    QString id;
    QString name;
    QString definition; // full path of its skin definition file
};

// The skins of the skin list of an installation folder, in list order.
QList<GallerySkin> ListSkins(const QString& installFolder);
// Loads the skin and renders every control with it.
QList<GalleryPicture> RenderSkin(const GallerySkin& skin, const QString& installFolder);
// Every picture of a skin, one under the other with its name.
QImage ContactSheet(const GallerySkin& skin, const QList<GalleryPicture>& pictures);
