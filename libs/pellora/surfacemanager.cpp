#include "surfacemanager.h"

#include "colorref.h"
#include "inioperater.h"
#include "paths.h"
#include "skinlog.h"
#include "skinpaint.h"

#include <QFileInfo>

#include <optional>

namespace Pellora {

// Every image key with its section and member, in reading order. The key spellings
// are those of the skin files in use and must not be corrected.
#define PELLORA_SKIN_IMAGES(X)                                                                 \
    X("SUFACE_IMAGE", "LOGOPICTURE", m_strLogoPic)                                             \
    X("SUFACE_IMAGE", "CONTROLTOOLBKPIC", m_strControlToolBkPic)                               \
    X("SUFACE_IMAGE", "HOMEPAGEBUTTONNORMAL", m_strHomePageButtonNormal)                       \
    X("SUFACE_IMAGE", "HOMEPAGEBUTTONHOVER", m_strHomePageButtonHover)                         \
    X("SUFACE_IMAGE", "HOMEPAGEBUTTONPRESS", m_strHomePageButtonPress)                         \
    X("SUFACE_IMAGE", "HOMEPAGEBUTTONMASK", m_strHomePageButtonMask)                           \
    X("SUFACE_IMAGE", "FAVORBUTTONNORMAL", m_strFavorButtonNormal)                             \
    X("SUFACE_IMAGE", "FAVORBUTTONHOVER", m_strFavorButtonHover)                               \
    X("SUFACE_IMAGE", "FAVORBUTTONPRESS", m_strFavorButtonPress)                               \
    X("SUFACE_IMAGE", "FAVORBUTTONMASK", m_strFavorButtonMask)                                 \
    X("SUFACE_IMAGE", "TABBACKGROUND", m_strTabBackGround)                                     \
    X("SUFACE_IMAGE", "TABPREVBUTTONNORMAL", m_strTabPrevButtonNormal)                         \
    X("SUFACE_IMAGE", "TABPREVBUTTONPRESS", m_strTabPrevButtonPress)                           \
    X("SUFACE_IMAGE", "TABPREVBUTTONMASK", m_strTabPrevButtonMask)                             \
    X("SUFACE_IMAGE", "TABPREVBUTTONDISABLE", m_strTabPrevButtonDisable)                       \
    X("SUFACE_IMAGE", "TABFORWARDBUTTONNORMAL", m_strTabForwardButtonNormal)                   \
    X("SUFACE_IMAGE", "TABFORWARDBUTTONPRESS", m_strTabForwardButtonPress)                     \
    X("SUFACE_IMAGE", "TABFORWARDBUTTONMASK", m_strTabForwardButtonMask)                       \
    X("SUFACE_IMAGE", "TABFORWARDBUTTONDISALBE", m_strTabForwordButtonDisable)                 \
    X("SUFACE_IMAGE", "TABBUTTONLEFTNORMAL", m_strTabButtonLeftNormal)                         \
    X("SUFACE_IMAGE", "TABBUTTONMIDDLENORMAL", m_strTabButtonMiddleNormal)                     \
    X("SUFACE_IMAGE", "TABBUTTONRIGHTNORMAL", m_strTabButtonRightNormal)                       \
    X("SUFACE_IMAGE", "TABBUTTONLEFTACTIVE", m_strTabButtonLeftActive)                         \
    X("SUFACE_IMAGE", "TABBUTTONMIDDLEACTIVE", m_strTabButtonMiddleActive)                     \
    X("SUFACE_IMAGE", "TABBUTTONRIGHTACTIVE", m_strTabButtonRightActive)                       \
    X("SUFACE_IMAGE", "TABCLOSEBUTTON", m_strTabCloseButton)                                   \
    X("SUFACE_IMAGE", "REFRESHNORMAL", m_strRefreshNormal)                                     \
    X("SUFACE_IMAGE", "REFRESHHOVER", m_strRefreshHover)                                       \
    X("SUFACE_IMAGE", "REFRESHPRESS", m_strRefreshPress)                                       \
    X("SUFACE_IMAGE", "REFRESHMASK", m_strRefreshMask)                                         \
    X("SUFACE_IMAGE", "STOPBUTTONNORMAL", m_strStopButtonNormal)                               \
    X("SUFACE_IMAGE", "STOPBUTTONHOVER", m_strStopButtonHover)                                 \
    X("SUFACE_IMAGE", "STOPBUTTONPRESS", m_strStopButtonPress)                                 \
    X("SUFACE_IMAGE", "STOPBUTTONMASK", m_strStopButtonMask)                                   \
    X("SUFACE_IMAGE", "PRINTBUTTONNORMAL", m_strPrintButtonNormal)                             \
    X("SUFACE_IMAGE", "PRINTBUTTONHOVER", m_strPrintButtonHover)                               \
    X("SUFACE_IMAGE", "PRINTBUTTONPRESS", m_strPrintButtonPress)                               \
    X("SUFACE_IMAGE", "PRINTBUTTONMASK", m_strPrintButtonMask)                                 \
    X("SUFACE_IMAGE", "SURFACEBUTTONNORMAL", m_strSurfaceButtonNormal)                         \
    X("SUFACE_IMAGE", "SURFACEBUTTONHOVER", m_strSurfaceButtonHover)                           \
    X("SUFACE_IMAGE", "SURFACEBUTTONPRESS", m_strSurfaceButtonPress)                           \
    X("SUFACE_IMAGE", "SURFACEBUTTONMASK", m_strSurfaceButtonMask)                             \
    X("SUFACE_IMAGE", "CLOSEBUTTONNORMAL", m_strCloseButtonNormal)                             \
    X("SUFACE_IMAGE", "CLOSEBUTTONHOVER", m_strCloseButtonHover)                               \
    X("SUFACE_IMAGE", "CLOSEBUTTONPRESS", m_strCloseButtonPress)                               \
    X("SUFACE_IMAGE", "CLOSEBUTTONMASK", m_strCloseButtonMask)                                 \
    X("SUFACE_IMAGE", "FORWORDNORMAL", m_strForwordNormal)                                     \
    X("SUFACE_IMAGE", "FORWORDHOVER", m_strForwordHover)                                       \
    X("SUFACE_IMAGE", "FORWORDPRESS", m_strForwordPress)                                       \
    X("SUFACE_IMAGE", "FORWORDMASK", m_strForwordMask)                                         \
    X("SUFACE_IMAGE", "BACKWORDNORMAL", m_strBackwordNormal)                                   \
    X("SUFACE_IMAGE", "BACKWORDHOVER", m_strBackwordHover)                                     \
    X("SUFACE_IMAGE", "BACKWORDPRESS", m_strBackwordPress)                                     \
    X("SUFACE_IMAGE", "BACKWORDMASK", m_strBackwordMask)                                       \
    X("SUFACE_IMAGE", "SHOWFAVORBUTTONNORMAL", m_strShowFavorNormal)                           \
    X("SUFACE_IMAGE", "SHOWFAVORBUTTONHOVER", m_strShowFavorHover)                             \
    X("SUFACE_IMAGE", "SHOWFAVORBUTTONPRESS", m_strShowFavorPress)                             \
    X("SUFACE_IMAGE", "SHOWFAVORBUTTONMASK", m_strShowFavorMask)                               \
    X("SUFACE_IMAGE", "ADDBLANKBUTTONNORMAL", m_strAddBlankButtonNormal)                       \
    X("SUFACE_IMAGE", "ADDBLANKBUTTONHOVER", m_strAddBlankButtonHover)                         \
    X("SUFACE_IMAGE", "ADDBLANKBUTTONPRESS", m_strAddBlankButtonPress)                         \
    X("SUFACE_IMAGE", "ADDBLANKBUTTONMASK", m_strAddBlankButtonMask)                           \
    X("SUFACE_IMAGE", "ADDRESSCOMBOBOXBKLEFT", m_strComboBoxBkLeft)                            \
    X("SUFACE_IMAGE", "ADDRESSCOMBOBOXBKRIGHT", m_strComboBoxBkRight)                          \
    X("SUFACE_IMAGE", "ADDRESSCOMBOBOXBKMD", m_strComboBoxBkMiddle)                            \
    X("SUFACE_IMAGE", "ADDRESSCOMBOBOXPUSHBUTTONNM", m_strComboBoxPushButtonNormal)            \
    X("SUFACE_IMAGE", "ADDRESSCOMBOBOXPUSHBUTTONPS", m_strComboBoxPushButtonPress)             \
    X("SUFACE_PREV", "PREV_DIALOG_BACKGROUND", m_strPreviewSkinSelectDialog)                   \
    X("COMMON_FACE", "FACEDIALOGTITLELEFT", m_strFaceDialogTitleLeft)                          \
    X("COMMON_FACE", "FACEDIALOGTITLEMIDDLE", m_strFaceDialogTitleMiddle)                      \
    X("COMMON_FACE", "FACEDIALOGTITLERIGHT", m_strFaceDialogTitleRight)                        \
    X("COMMON_FACE", "FACEDIALOGLEFTBORDER", m_strFaceDialogBorderLeft)                        \
    X("COMMON_FACE", "FACEDIALOGBOTTOMLEFT", m_strFaceDialogBottomLeft)                        \
    X("COMMON_FACE", "FACEDIALOGBOTTOMMIDDLE", m_strFaceDialogBottomMiddle)                    \
    X("COMMON_FACE", "FACEDIALOGBOTTOMRIGHT", m_strFaceDialogBottomRight)                      \
    /* The right border is read from the key that says LEFT; no skin has a RIGHT key. */       \
    X("COMMON_FACE", "FACEDIALOGBORDERLEFT", m_strFaceDialogBorderRight)                       \
    X("COMMON_BUTTON", "FACEBUTTONNMLEFT", m_strFaceButtonNormalLeft)                          \
    X("COMMON_BUTTON", "FACEBUTTONMMD", m_strFaceButtonNormalMiddle)                           \
    X("COMMON_BUTTON", "FACEBUTTONNMRT", m_strFaceButtonNormalRight)                           \
    X("COMMON_BUTTON", "FACEBUTTONHVLF", m_strFaceButtonHoverLeft)                             \
    X("COMMON_BUTTON", "FACEBUTTONHVMD", m_strFaceButtonHoverMiddle)                           \
    X("COMMON_BUTTON", "FACEBUTTONHVRT", m_strFaceButtonHoverRight)                            \
    X("COMMON_BUTTON", "FACEBUTTONPRESSLF", m_strFaceButtonPressLeft)                          \
    X("COMMON_BUTTON", "FACEBUTTONPRESSMD", m_strFaceButtonPressMiddle)                        \
    X("COMMON_BUTTON", "FACEBUTTONPRESSRT", m_strFaceButtonPressRight)

#define PELLORA_SKIN_COLORS(X)                                                                 \
    X("SUFACE_COLOR", "TABACTIVETEXTCOLOR", m_TabActiveTextColor)                              \
    X("SUFACE_COLOR", "TABNORMALTEXTCOLOR", m_TabNormalTextColor)                              \
    X("SUFACE_COLOR", "TABCTRLBCKCOLOR", m_CoolTabCtrlBkColor)                                 \
    X("SUFACE_COLOR", "TABCTRLBDRCOLOR", m_CoolTabCtrlBorderColor)                             \
    X("SUFACE_COLOR", "STATUSTEXTCOLOR", m_StatusTextColor)                                    \
    X("SUFACE_COLOR", "ADDRESSCOMBOBACKCOLOR", m_AddressComboBoxBkColor)                       \
    X("SUFACE_COLOR", "ADDFAVORDLGBACKCOLOR", m_AddFavorDlgBkColor)

#define PELLORA_DEFINE_IMAGE(section, key, member) QString CSurfaceManager::member;
#define PELLORA_DEFINE_COLOR(section, key, member) unsigned long CSurfaceManager::member = 0;
PELLORA_SKIN_IMAGES(PELLORA_DEFINE_IMAGE)
PELLORA_SKIN_COLORS(PELLORA_DEFINE_COLOR)

CSurfaceManager::~CSurfaceManager() = default;

const QList<CSurfaceManager::ImageKey>& CSurfaceManager::ImageKeys()
{
#define PELLORA_IMAGE_ROW(section, key, member) ImageKey{section, key, &CSurfaceManager::member},
    static const QList<ImageKey> keys{PELLORA_SKIN_IMAGES(PELLORA_IMAGE_ROW)};
    return keys;
}

const QList<CSurfaceManager::ColorKey>& CSurfaceManager::ColorKeys()
{
#define PELLORA_COLOR_ROW(section, key, member) ColorKey{section, key, &CSurfaceManager::member},
    static const QList<ColorKey> keys{PELLORA_SKIN_COLORS(PELLORA_COLOR_ROW)};
    return keys;
}

QString CSurfaceManager::SkinFolder(const QString& fileName)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : fileName.left(slash + 1);
}

namespace {

// The pictures a control draws; the others are read by no one (the tool bar's buttons
// take the fixed pictures of "Common/").
bool isDrawn(const CSurfaceManager::ImageKey& k)
{
    static const char* const kDrawnImageKeys[] = {
        "CONTROLTOOLBKPIC",       "TABBACKGROUND",         "TABPREVBUTTONNORMAL",     "TABPREVBUTTONPRESS",
        "TABPREVBUTTONMASK",      "TABPREVBUTTONDISABLE",  "TABFORWARDBUTTONNORMAL",  "TABFORWARDBUTTONPRESS",
        "TABFORWARDBUTTONMASK",   "TABFORWARDBUTTONDISALBE", "TABBUTTONLEFTNORMAL",   "TABBUTTONMIDDLENORMAL",
        "TABBUTTONRIGHTNORMAL",   "TABBUTTONLEFTACTIVE",   "TABBUTTONMIDDLEACTIVE",   "TABBUTTONRIGHTACTIVE",
        "TABCLOSEBUTTON",         "ADDRESSCOMBOBOXBKLEFT", "ADDRESSCOMBOBOXBKRIGHT",  "ADDRESSCOMBOBOXBKMD",
        "ADDRESSCOMBOBOXPUSHBUTTONNM", "ADDRESSCOMBOBOXPUSHBUTTONPS",
    };
    if (qstrcmp(k.section, "COMMON_FACE") == 0 || qstrcmp(k.section, "COMMON_BUTTON") == 0)
        return true;
    for (const char* key : kDrawnImageKeys) {
        if (qstrcmp(k.key, key) == 0)
            return true;
    }
    return false;
}

struct SkinValues {
    QList<QString> images;              // in the order of ImageKeys()
    QList<std::optional<unsigned long>> colors; // in the order of ColorKeys()
};

// One read of the definition file.
SkinValues readSkin(const QString& fileName)
{
    const QString path = GetShortPathNameA(fileName);
    const CINIOperater ini(path);
    const QString folder = CSurfaceManager::SkinFolder(path);
    SkinValues values;
    for (const CSurfaceManager::ImageKey& k : CSurfaceManager::ImageKeys()) {
        // Skin files written on Windows separate folders with backslashes.
        QString value = ini.ReadString(QLatin1String(k.section), QLatin1String(k.key));
        value.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const bool shortForm = qstrcmp(k.section, "SUFACE_IMAGE") == 0 || qstrcmp(k.section, "SUFACE_PREV") == 0;
        values.images.append(shortForm ? GetShortPathNameA(folder + value) : folder + value);
    }
    for (const CSurfaceManager::ColorKey& k : CSurfaceManager::ColorKeys()) {
        unsigned long color = 0;
        const bool parsed = ParseColorRef(ini.ReadString(QLatin1String(k.section), QLatin1String(k.key)), &color);
        values.colors.append(parsed ? std::optional<unsigned long>(color) : std::nullopt);
    }
    return values;
}

void commit(const SkinValues& values)
{
    const QList<CSurfaceManager::ImageKey>& images = CSurfaceManager::ImageKeys();
    for (qsizetype i = 0; i < images.size(); ++i)
        *images[i].member = values.images[i];
    const QList<CSurfaceManager::ColorKey>& colors = CSurfaceManager::ColorKeys();
    for (qsizetype i = 0; i < colors.size(); ++i) {
        if (values.colors[i])
            *colors[i].member = *values.colors[i];
    }
}

bool usable(const QString& fileName, const SkinValues& values, QString* why)
{
    const QFileInfo definition(GetShortPathNameA(fileName));
    if (!definition.isFile() || !definition.isReadable()) {
        if (why)
            *why = QStringLiteral("the skin definition %1 cannot be read").arg(definition.filePath());
        return false;
    }
    const QList<CSurfaceManager::ImageKey>& images = CSurfaceManager::ImageKeys();
    for (qsizetype i = 0; i < images.size(); ++i) {
        if (!isDrawn(images[i]))
            continue;
        // Decoded as the controls will draw it: a header that reads well says nothing
        // of a picture cut short after it.
        if (LoadSkinImage(values.images[i]).isNull()) {
            if (why)
                *why = QStringLiteral("the picture %1 of %2 is missing or damaged")
                           .arg(values.images[i], QLatin1String(images[i].key));
            return false;
        }
    }
    return true;
}

} // namespace

void CSurfaceManager::LoadFromFile(const QString& fileName)
{
    const QString path = GetShortPathNameA(fileName);
    if (!QFileInfo(path).isFile())
        qCWarning(lcSkin) << "cannot read the skin definition" << path;
    commit(readSkin(fileName));
}

bool CSurfaceManager::IsUsable(const QString& fileName, QString* why)
{
    return usable(fileName, readSkin(fileName), why);
}

bool CSurfaceManager::LoadIfUsable(const QString& fileName)
{
    const SkinValues values = readSkin(fileName);
    QString why;
    if (!usable(fileName, values, &why)) {
        qCWarning(lcSkin).noquote() << "kept the skin in force:" << why;
        return false;
    }
    commit(values);
    return true;
}

} // namespace Pellora
