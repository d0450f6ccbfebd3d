// The skin definition load with a picture beside it: a skin is either put on whole, every
// picture it names then showing, or refused with every member of the skin in force left
// as it was.

#include "fuzzsupport.h"

#include <pellora/skinpaint.h>
#include <pellora/surfacemanager.h>

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

using Pellora::CSurfaceManager;

namespace {

struct Snapshot {
    QStringList images;
    QList<unsigned long> colors;
    bool operator==(const Snapshot&) const = default;
};

Snapshot current()
{
    Snapshot s;
    for (const CSurfaceManager::ImageKey& k : CSurfaceManager::ImageKeys())
        s.images << *k.member;
    for (const CSurfaceManager::ColorKey& k : CSurfaceManager::ColorKeys())
        s.colors << *k.member;
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    const Fuzz::Parts parts(data, size);
    const QString folder = Fuzz::ScratchFolder() + QStringLiteral("/skin/");
    QDir().mkpath(folder);
    const QString definition = folder + QStringLiteral("skin.ini");
    Fuzz::WriteFile(definition, parts.at(0));
    Fuzz::WriteFile(folder + QStringLiteral("p.bmp"), parts.at(1));

    const Snapshot before = current();
    const bool usable = CSurfaceManager::IsUsable(definition);
    const bool loaded = CSurfaceManager::LoadIfUsable(definition);
    FUZZ_CHECK(usable == loaded, QStringLiteral("IsUsable and LoadIfUsable disagree"));
    const Snapshot after = current();
    if (!loaded) {
        FUZZ_CHECK(after == before, QStringLiteral("a refused skin changed the skin in force"));
        return 0;
    }
    for (const QString& image : after.images) {
        FUZZ_CHECK(image.startsWith(folder), image);
        // Whatever the check let through must also draw.
        if (QFileInfo(image).isFile() && QImageReader(image).canRead())
            FUZZ_CHECK(!Pellora::LoadSkinImage(image).isNull(), QStringLiteral("%1 passed the check but does not draw").arg(image));
    }
    for (unsigned long color : after.colors)
        FUZZ_CHECK(color <= 0xffffffUL, QString::number(color, 16));
    return 0;
}
