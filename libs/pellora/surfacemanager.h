#pragma once

#include "pellora_export.h"

#include <QList>
#include <QString>

namespace Pellora {

// The current skin, held class-wide: one path per image and one COLORREF per colour of
// the skin definition file last given to LoadFromFile. Controls copy what their owner
// hands them, so a new skin reaches a control only when its owner applies the members
// again.
class PELLORA_EXPORT CSurfaceManager
{
public:
    CSurfaceManager() = default;
    virtual ~CSurfaceManager();
    CSurfaceManager(const CSurfaceManager&) = default;
    CSurfaceManager& operator=(const CSurfaceManager&) = default;

    // Reads a skin definition file (an INI file). Every image member becomes the skin
    // folder (the file's folder, with a trailing '/') followed by the value written in
    // the file, so a missing file or key leaves the bare folder, which names no bitmap
    // (a missing file is logged in "lorvane.skin").
    // A colour changes only when the file holds a readable hexadecimal value for it;
    // otherwise the earlier skin's colour stays.
    static void LoadFromFile(const QString& fileName);
    // Whether a skin can be shown whole: its definition file is a readable file and
    // every picture the browser draws from it (tool bar, tab strip, address box, the
    // dialogs' frame and buttons) is there and readable. When not, *why names what is
    // missing.
    static bool IsUsable(const QString& fileName, QString* why = nullptr);
    // LoadFromFile for a usable skin; otherwise logs why, keeps the skin in force and
    // returns false, so that no control is left half in one skin and half in another.
    static bool LoadIfUsable(const QString& fileName);
    // The folder part of a skin definition path, up to and including its last '/'.
    static QString SkinFolder(const QString& fileName);

    struct ImageKey {
        const char* section;
        const char* key;
        QString* member;
    };
    struct ColorKey {
        const char* section;
        const char* key;
        unsigned long* member;
    };
    // Every image and colour of a skin, in reading order.
    static const QList<ImageKey>& ImageKeys();
    static const QList<ColorKey>& ColorKeys();

    // Section "SUFACE_IMAGE".
    static QString m_strLogoPic;
    static QString m_strControlToolBkPic;
    static QString m_strHomePageButtonNormal;
    static QString m_strHomePageButtonHover;
    static QString m_strHomePageButtonPress;
    static QString m_strHomePageButtonMask;
    static QString m_strFavorButtonNormal;
    static QString m_strFavorButtonHover;
    static QString m_strFavorButtonPress;
    static QString m_strFavorButtonMask;
    static QString m_strTabBackGround;
    static QString m_strTabPrevButtonNormal;
    static QString m_strTabPrevButtonPress;
    static QString m_strTabPrevButtonMask;
    static QString m_strTabPrevButtonDisable;
    static QString m_strTabForwardButtonNormal;
    static QString m_strTabForwardButtonPress;
    static QString m_strTabForwardButtonMask;
    static QString m_strTabForwordButtonDisable;
    static QString m_strTabButtonLeftNormal;
    static QString m_strTabButtonMiddleNormal;
    static QString m_strTabButtonRightNormal;
    static QString m_strTabButtonLeftActive;
    static QString m_strTabButtonMiddleActive;
    static QString m_strTabButtonRightActive;
    static QString m_strTabCloseButton;
    static QString m_strRefreshNormal;
    static QString m_strRefreshHover;
    static QString m_strRefreshPress;
    static QString m_strRefreshMask;
    static QString m_strStopButtonNormal;
    static QString m_strStopButtonHover;
    static QString m_strStopButtonPress;
    static QString m_strStopButtonMask;
    static QString m_strPrintButtonNormal;
    static QString m_strPrintButtonHover;
    static QString m_strPrintButtonPress;
    static QString m_strPrintButtonMask;
    static QString m_strSurfaceButtonNormal;
    static QString m_strSurfaceButtonHover;
    static QString m_strSurfaceButtonPress;
    static QString m_strSurfaceButtonMask;
    static QString m_strCloseButtonNormal;
    static QString m_strCloseButtonHover;
    static QString m_strCloseButtonPress;
    static QString m_strCloseButtonMask;
    static QString m_strForwordNormal;
    static QString m_strForwordHover;
    static QString m_strForwordPress;
    static QString m_strForwordMask;
    static QString m_strBackwordNormal;
    static QString m_strBackwordHover;
    static QString m_strBackwordPress;
    static QString m_strBackwordMask;
    static QString m_strShowFavorNormal;
    static QString m_strShowFavorHover;
    static QString m_strShowFavorPress;
    static QString m_strShowFavorMask;
    static QString m_strAddBlankButtonNormal;
    static QString m_strAddBlankButtonHover;
    static QString m_strAddBlankButtonPress;
    static QString m_strAddBlankButtonMask;
    static QString m_strComboBoxBkLeft;
    static QString m_strComboBoxBkRight;
    static QString m_strComboBoxBkMiddle;
    static QString m_strComboBoxPushButtonNormal;
    static QString m_strComboBoxPushButtonPress;

    // Section "SUFACE_PREV".
    static QString m_strPreviewSkinSelectDialog;

    // Section "COMMON_FACE": the frame of the skinned dialogs.
    static QString m_strFaceDialogTitleLeft;
    static QString m_strFaceDialogTitleMiddle;
    static QString m_strFaceDialogTitleRight;
    static QString m_strFaceDialogBorderLeft;
    static QString m_strFaceDialogBottomLeft;
    static QString m_strFaceDialogBottomMiddle;
    static QString m_strFaceDialogBottomRight;
    static QString m_strFaceDialogBorderRight;

    // Section "COMMON_BUTTON": the faces of the dialogs' push buttons.
    static QString m_strFaceButtonNormalLeft;
    static QString m_strFaceButtonNormalMiddle;
    static QString m_strFaceButtonNormalRight;
    static QString m_strFaceButtonHoverLeft;
    static QString m_strFaceButtonHoverMiddle;
    static QString m_strFaceButtonHoverRight;
    static QString m_strFaceButtonPressLeft;
    static QString m_strFaceButtonPressMiddle;
    static QString m_strFaceButtonPressRight;

    // Section "SUFACE_COLOR": COLORREF values (0x00BBGGRR), black before any skin.
    static unsigned long m_TabActiveTextColor;
    static unsigned long m_TabNormalTextColor;
    static unsigned long m_CoolTabCtrlBkColor;
    static unsigned long m_CoolTabCtrlBorderColor;
    static unsigned long m_StatusTextColor;
    static unsigned long m_AddressComboBoxBkColor;
    static unsigned long m_AddFavorDlgBkColor;
};

} // namespace Pellora
