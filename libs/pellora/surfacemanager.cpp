#include "surfacemanager.h"

#include "colorref.h"
#include "inioperater.h"
#include "paths.h"
#include "skinlog.h"

#include <QFileInfo>

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

void CSurfaceManager::LoadFromFile(const QString& fileName)
{
    const QString path = GetShortPathNameA(fileName);
    if (!QFileInfo(path).isFile())
        qCWarning(lcSkin) << "cannot read the skin definition" << path;
    const CINIOperater ini(path);
    const QString folder = SkinFolder(path);
    for (const ImageKey& k : ImageKeys()) {
        // Skin files written on Windows separate folders with backslashes.
        QString value = ini.ReadString(QLatin1String(k.section), QLatin1String(k.key));
        value.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const bool shortForm = qstrcmp(k.section, "SUFACE_IMAGE") == 0 || qstrcmp(k.section, "SUFACE_PREV") == 0;
        *k.member = shortForm ? GetShortPathNameA(folder + value) : folder + value;
    }
    for (const ColorKey& k : ColorKeys())
        ParseColorRef(ini.ReadString(QLatin1String(k.section), QLatin1String(k.key)), k.member);
}

} // namespace Pellora
