// Draws the default skins and the fixed button faces into an installation folder:
//   skin/<id>/skin.ini and its bitmaps, skinlist.ini, currentskin.ini, Common/*.png.
#include "icons.h"
#include "output.h"
#include "skinart.h"
#include "theme.h"
#include "treeicons.h"

#include "inioperater.h"

#include <pellora/colorref.h>
#include <pellora/surfacemanager.h>

#include <QDir>
#include <QFileInfo>
#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <cstdio>

using Pellora::CSurfaceManager;
using Pellora::QColorToColorRef;

namespace {

struct ShippedFile {
    QString name;     // relative to the skin folder
    QByteArray bytes;
};

struct Generator {
    QString root;
    int written = 0;
    int unchanged = 0;
    bool failed = false;

    void write(const QString& relative, const QByteArray& bytes)
    {
        const QString path = root + QLatin1Char('/') + relative;
        QFile old(path);
        const bool same = old.open(QIODevice::ReadOnly) && old.readAll() == bytes;
        old.close();
        if (!WriteIfChanged(path, bytes)) {
            std::fprintf(stderr, "pellora-skingen: cannot write %s\n", qPrintable(path));
            failed = true;
        } else if (same) {
            ++unchanged;
        } else {
            ++written;
        }
    }
};

QByteArray bmp(const QImage& picture, const QColor& matte)
{
    return EncodeImage(KeyedBitmap(picture, matte), "BMP");
}

QString colorText(const QColor& c)
{
    return QStringLiteral("0x%1").arg(QColorToColorRef(c), 6, 16, QLatin1Char('0'));
}

// The toolbar buttons every skin defines (the toolbar itself shows the Common/ faces).
struct SkinButton {
    const char* prefix;
    const char* file;
    Glyph glyph;
    int size;
};
const SkinButton kSkinButtons[] = {
    {"HOMEPAGEBUTTON", "home", Glyph::Home, 40},   {"FAVORBUTTON", "favor", Glyph::Favor, 40},
    {"REFRESH", "refresh", Glyph::Refresh, 40},    {"STOPBUTTON", "stop", Glyph::Stop, 40},
    {"PRINTBUTTON", "print", Glyph::Print, 40},    {"SURFACEBUTTON", "skin", Glyph::Skin, 40},
    {"CLOSEBUTTON", "close", Glyph::Close, 25},    {"FORWORD", "forward", Glyph::Forward, 40},
    {"BACKWORD", "back", Glyph::Back, 40},         {"SHOWFAVORBUTTON", "sidebar", Glyph::Sidebar, 23},
    {"ADDBLANKBUTTON", "blank", Glyph::Plus, 23},
};

// Every skin key with the file it names and that file's bytes.
QHash<QString, ShippedFile> skinFiles(const Theme& t)
{
    QHash<QString, ShippedFile> files;
    auto add = [&files](const QString& key, const QString& name, const QByteArray& bytes) {
        files.insert(key, {name, bytes});
    };
    const QColor toolbar = ToolbarMidColor(t);
    const QColor strip = TabStripColor(t);

    add("LOGOPICTURE", "logo.bmp", bmp(RenderLogo(64), toolbar));
    add("CONTROLTOOLBKPIC", "toolbar_bg.bmp", bmp(ToolbarBackground(t), toolbar));
    for (const SkinButton& b : kSkinButtons) {
        const QString key = QLatin1String(b.prefix);
        const QString base = QLatin1String(b.file);
        const QColor color = t.main.darker(108);
        const QImage normal = RenderBadge(b.glyph, color, b.size, ButtonLook::Normal);
        add(key + "NORMAL", base + "_normal.bmp", bmp(normal, toolbar));
        add(key + "HOVER", base + "_hover.bmp", bmp(RenderBadge(b.glyph, color, b.size, ButtonLook::Hover), toolbar));
        add(key + "PRESS", base + "_press.bmp", bmp(RenderBadge(b.glyph, color, b.size, ButtonLook::Press), toolbar));
        add(key + "MASK", base + "_mask.bmp", EncodeImage(MaskBitmap(normal), "BMP"));
    }

    add("TABBACKGROUND", "tab_bg.bmp", bmp(TabStripBackground(t), strip));
    const struct {
        const char* prefix;
        const char* disableKey;
        const char* file;
        bool forward;
    } arrows[] = {{"TABPREVBUTTON", "TABPREVBUTTONDISABLE", "tab_prev", false},
                  {"TABFORWARDBUTTON", "TABFORWARDBUTTONDISALBE", "tab_next", true}};
    for (const auto& a : arrows) {
        const QString key = QLatin1String(a.prefix);
        const QString base = QLatin1String(a.file);
        const QImage normal = TabArrow(t, a.forward, ArrowLook::Normal);
        add(key + "NORMAL", base + "_normal.bmp", bmp(normal, strip));
        add(key + "PRESS", base + "_press.bmp", bmp(TabArrow(t, a.forward, ArrowLook::Press), strip));
        add(key + "MASK", base + "_mask.bmp", EncodeImage(MaskBitmap(normal), "BMP"));
        add(QLatin1String(a.disableKey), base + "_disable.bmp", bmp(TabArrow(t, a.forward, ArrowLook::Disable), strip));
    }
    const char* const sides[3] = {"LEFT", "MIDDLE", "RIGHT"};
    const char* const sideFiles[3] = {"left", "middle", "right"};
    for (bool active : {false, true}) {
        const QList<QImage> pieces = Slice(TabWhole(t, active), 8, 8, 8);
        for (int i = 0; i < 3; ++i)
            add(QStringLiteral("TABBUTTON%1%2").arg(QLatin1String(sides[i]), active ? "ACTIVE" : "NORMAL"),
                QStringLiteral("tab_%1_%2.bmp").arg(active ? "active" : "normal", QLatin1String(sideFiles[i])),
                bmp(pieces.at(i), strip));
    }
    add("TABCLOSEBUTTON", "tab_close.bmp", bmp(TabClose(t), t.light));

    const QList<QImage> field = Slice(FieldWhole(t), 12, 8, 12);
    add("ADDRESSCOMBOBOXBKLEFT", "field_left.bmp", bmp(field.at(0), toolbar));
    add("ADDRESSCOMBOBOXBKMD", "field_middle.bmp", bmp(field.at(1), toolbar));
    add("ADDRESSCOMBOBOXBKRIGHT", "field_right.bmp", bmp(field.at(2), toolbar));
    add("ADDRESSCOMBOBOXPUSHBUTTONNM", "field_button_normal.bmp", bmp(FieldButton(t, false), Qt::white));
    add("ADDRESSCOMBOBOXPUSHBUTTONPS", "field_button_press.bmp", bmp(FieldButton(t, true), Qt::white));

    add("PREV_DIALOG_BACKGROUND", "preview_dialog.bmp", bmp(PreviewDialogBackground(t), t.light));
    // Read by the skin preview page, which shows them with their transparency.
    add("PREV_IMAGE_NORMAL", "preview_normal.png", EncodeImage(PreviewCard(t, FaceLook::Normal), "PNG"));
    add("PREV_IMAGE_HOVER", "preview_hover.png", EncodeImage(PreviewCard(t, FaceLook::Hover), "PNG"));
    add("PREV_IMAGE_PRESS", "preview_press.png", EncodeImage(PreviewCard(t, FaceLook::Press), "PNG"));

    const QList<QImage> title = Slice(DialogTitleWhole(t), 24, 10, 24);
    const QList<QImage> bottom = Slice(DialogBottomWhole(t), 24, 10, 24);
    add("FACEDIALOGTITLELEFT", "dlg_title_left.bmp", bmp(title.at(0), t.main));
    add("FACEDIALOGTITLEMIDDLE", "dlg_title_middle.bmp", bmp(title.at(1), t.main));
    add("FACEDIALOGTITLERIGHT", "dlg_title_right.bmp", bmp(title.at(2), t.main));
    add("FACEDIALOGLEFTBORDER", "dlg_border_left.bmp", bmp(DialogBorder(t, false), t.main));
    add("FACEDIALOGBORDERLEFT", "dlg_border_right.bmp", bmp(DialogBorder(t, true), t.main));
    add("FACEDIALOGBOTTOMLEFT", "dlg_bottom_left.bmp", bmp(bottom.at(0), t.main));
    add("FACEDIALOGBOTTOMMIDDLE", "dlg_bottom_middle.bmp", bmp(bottom.at(1), t.main));
    add("FACEDIALOGBOTTOMRIGHT", "dlg_bottom_right.bmp", bmp(bottom.at(2), t.main));

    const struct {
        FaceLook look;
        const char* file;
        const char* keys[3];
    } faces[] = {
        {FaceLook::Normal, "button_normal", {"FACEBUTTONNMLEFT", "FACEBUTTONMMD", "FACEBUTTONNMRT"}},
        {FaceLook::Hover, "button_hover", {"FACEBUTTONHVLF", "FACEBUTTONHVMD", "FACEBUTTONHVRT"}},
        {FaceLook::Press, "button_press", {"FACEBUTTONPRESSLF", "FACEBUTTONPRESSMD", "FACEBUTTONPRESSRT"}},
    };
    for (const auto& f : faces) {
        const QList<QImage> pieces = Slice(ButtonWhole(t, f.look), 10, 8, 10);
        for (int i = 0; i < 3; ++i)
            add(QLatin1String(f.keys[i]), QStringLiteral("%1_%2.bmp").arg(QLatin1String(f.file), QLatin1String(sideFiles[i])),
                bmp(pieces.at(i), t.dialog));
    }
    return files;
}

QHash<QString, QColor> skinColors(const Theme& t)
{
    return {
        {"TABACTIVETEXTCOLOR", t.tabActiveText},
        {"TABNORMALTEXTCOLOR", t.tabText},
        {"TABCTRLBCKCOLOR", t.deep},
        {"TABCTRLBDRCOLOR", t.deep.darker(130)},
        {"STATUSTEXTCOLOR", QColor(Qt::white)},
        {"ADDRESSCOMBOBACKCOLOR", ToolbarMidColor(t)},
        {"ADDFAVORDLGBACKCOLOR", t.dialog},
    };
}

bool writeSkin(Generator& gen, const Theme& t)
{
    const QHash<QString, ShippedFile> files = skinFiles(t);
    const QHash<QString, QColor> colors = skinColors(t);
    const QString folder = QStringLiteral("skin/") + t.id;

    QString ini = QStringLiteral("; The %1 skin (%2). Every picture is a file of this folder; magenta (255, 0, 255)\n"
                                 "; is transparent. Colours are COLORREF values, 0x00BBGGRR.\n")
                      .arg(t.id, t.name);
    QString section;
    QStringList sectionOrder;
    auto line = [&ini, &section](const QString& sec, const QString& key, const QString& value) {
        if (sec != section) {
            ini += QStringLiteral("\n[%1]\n").arg(sec);
            section = sec;
        }
        ini += key + QLatin1Char('=') + value + QLatin1Char('\n');
    };
    QSet<QString> used;
    for (const CSurfaceManager::ImageKey& k : CSurfaceManager::ImageKeys()) {
        const QString key = QLatin1String(k.key);
        if (!files.contains(key)) {
            std::fprintf(stderr, "pellora-skingen: no picture for %s in skin %s\n", k.key, qPrintable(t.id));
            return false;
        }
        const QString sec = QLatin1String(k.section);
        line(sec, key, files.value(key).name);
        used.insert(key);
        if (sec == QLatin1String("SUFACE_PREV")) {
            for (const char* extra : {"PREV_IMAGE_NORMAL", "PREV_IMAGE_HOVER", "PREV_IMAGE_PRESS"}) {
                line(sec, QLatin1String(extra), files.value(QLatin1String(extra)).name);
                used.insert(QLatin1String(extra));
            }
        }
    }
    for (const CSurfaceManager::ColorKey& k : CSurfaceManager::ColorKeys())
        line(QLatin1String(k.section), QLatin1String(k.key), colorText(colors.value(QLatin1String(k.key))));
    if (used.size() != files.size()) {
        std::fprintf(stderr, "pellora-skingen: skin %s draws pictures no key names\n", qPrintable(t.id));
        return false;
    }

    QSet<QString> names{QStringLiteral("skin.ini")};
    gen.write(folder + QStringLiteral("/skin.ini"), ini.toUtf8());
    for (const ShippedFile& f : files) {
        gen.write(folder + QLatin1Char('/') + f.name, f.bytes);
        names.insert(f.name);
    }
    // Files an earlier version of the skin shipped would otherwise linger.
    const QDir dir(gen.root + QLatin1Char('/') + folder);
    for (const QString& stale : dir.entryList(QDir::Files)) {
        if (!names.contains(stale))
            QFile::remove(dir.filePath(stale));
    }
    return true;
}

void writeSkinLists(Generator& gen)
{
    QString list;
    for (const Theme& t : Themes())
        list += QStringLiteral("[%1]\nINI_FILE=%1/skin.ini\nINI_NAME=%2\n\n").arg(t.id, t.name);
    gen.write(QStringLiteral("skinlist.ini"), list.toUtf8());

    // The child's choice survives rebuilds; only a missing or unknown choice is reset.
    const QString current = gen.root + QStringLiteral("/currentskin.ini");
    const QString chosen = CINIOperater(current).ReadString(QStringLiteral("CURRENT_SKIN"), QStringLiteral("SKIN_NAME"));
    for (const Theme& t : Themes()) {
        if (t.id == chosen)
            return;
    }
    gen.write(QStringLiteral("currentskin.ini"),
              QStringLiteral("[CURRENT_SKIN]\nSKIN_NAME=%1\n").arg(Themes().first().id).toUtf8());
}

void writeCommon(Generator& gen)
{
    const struct {
        const char* names[3];
        Glyph glyph;
        QColor color;
        int size;
    } buttons[] = {
        {{"homepagenm", "homepagehv", "homepageps"}, Glyph::Home, QColor(0xff, 0x8a, 0x3d), 40},
        {{"favornm", "favorhover", "favorpress"}, Glyph::Favor, QColor(0xf2, 0xae, 0x00), 40},
        {{"backnm", "backhv", "backprs"}, Glyph::Back, QColor(0x35, 0xb5, 0x52), 40},
        {{"forwardnm", "forwardhv", "forwardpress"}, Glyph::Forward, QColor(0x35, 0xb5, 0x52), 40},
        {{"refreshnm", "refreshhv", "refreshpr"}, Glyph::Refresh, QColor(0x2e, 0x9b, 0xea), 40},
        {{"stopnm", "stophv", "stoppress"}, Glyph::Stop, QColor(0xf0, 0x52, 0x4f), 40},
        {{"printnm", "printhv", "printpress"}, Glyph::Print, QColor(0x8e, 0x6c, 0xef), 40},
        {{"surfacenm", "surfacehv", "surfacepress"}, Glyph::Skin, QColor(0xec, 0x5f, 0xaf), 40},
        {{"closenm", "closehv", "closepress"}, Glyph::Close, QColor(0xe5, 0x39, 0x35), 25},
        {{"addfavornormal", "addfavorhover", "addfavorpress"}, Glyph::Sidebar, QColor(0xf2, 0xae, 0x00), 23},
        {{"addblanknormal", "addblankhover", "addblankpress"}, Glyph::Plus, QColor(0x35, 0xb5, 0x52), 23},
    };
    const ButtonLook looks[3] = {ButtonLook::Normal, ButtonLook::Hover, ButtonLook::Press};
    for (const auto& b : buttons) {
        for (int i = 0; i < 3; ++i)
            gen.write(QStringLiteral("Common/%1.png").arg(QLatin1String(b.names[i])),
                      EncodeImage(RenderBadge(b.glyph, b.color, b.size, looks[i]), "PNG"));
    }
    gen.write(QStringLiteral("Common/logo.png"), EncodeImage(RenderLogo(64), "PNG"));
    // The side bar's tree pictures and the star of its tabs.
    const struct {
        const char* name;
        TreeIcon icon;
    } treeIcons[] = {{"favfolderclosed", TreeIcon::ClosedFolder},
                     {"favfolderopen", TreeIcon::OpenFolder},
                     {"favwebpage", TreeIcon::WebPage},
                     {"favtabstar", TreeIcon::TabStar}};
    for (const auto& t : treeIcons) {
        gen.write(QStringLiteral("Common/%1.png").arg(QLatin1String(t.name)),
                  EncodeImage(RenderTreeIcon(t.icon), "PNG"));
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing into images needs no display: a build step runs without one.
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: pellora-skingen <installation folder>\n");
        return 2;
    }
    Generator gen;
    gen.root = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    for (const Theme& t : Themes()) {
        if (!writeSkin(gen, t))
            return 1;
    }
    writeSkinLists(gen);
    writeCommon(gen);
    if (gen.failed)
        return 1;
    std::printf("pellora-skingen: %d files written, %d unchanged in %s\n", gen.written, gen.unchanged,
                qPrintable(gen.root));
    return 0;
}
