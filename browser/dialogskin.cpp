#include "dialogskin.h"

#include <pellora/coolbutton.h>
#include <pellora/cooldialog.h>
#include <pellora/cooledit.h>
#include <pellora/surfacemanager.h>

using Pellora::CCoolButton;
using Pellora::CCoolDialog;
using Pellora::CCoolEdit;
using Pellora::CSurfaceManager;

namespace DialogSkin {

void ApplyTo(CCoolDialog* dialog)
{
    using S = CSurfaceManager;
    dialog->SetBackColor(S::m_AddFavorDlgBkColor);
    dialog->SetDialogBorderLeft(S::m_strFaceDialogBorderLeft);
    dialog->SetDialogBorderRight(S::m_strFaceDialogBorderRight);
    dialog->SetBmpTitleBitmap(S::m_strFaceDialogTitleLeft, S::m_strFaceDialogTitleMiddle, S::m_strFaceDialogTitleRight);
    dialog->SetDialogBottomBorderBmp(S::m_strFaceDialogBottomLeft, S::m_strFaceDialogBottomMiddle,
                                     S::m_strFaceDialogBottomRight);
}

void ApplyTo(CCoolEdit* edit)
{
    using S = CSurfaceManager;
    edit->SetBorderWidth(12);
    edit->SetBackgroundBitmap(S::m_strComboBoxBkLeft, S::m_strComboBoxBkMiddle, S::m_strComboBoxBkRight);
    edit->SetBackColor(S::m_AddFavorDlgBkColor);
    edit->SetMinHeight(20);
}

void ApplyTo(CCoolButton* button)
{
    using S = CSurfaceManager;
    button->SetNormalBitmap(S::m_strFaceButtonNormalLeft, S::m_strFaceButtonNormalMiddle, S::m_strFaceButtonNormalRight);
    button->SetHoverBitmap(S::m_strFaceButtonHoverLeft, S::m_strFaceButtonHoverMiddle, S::m_strFaceButtonHoverRight);
    button->SetPressBitmap(S::m_strFaceButtonPressLeft, S::m_strFaceButtonPressMiddle, S::m_strFaceButtonPressRight);
    button->SetBackColor(S::m_AddFavorDlgBkColor);
}

} // namespace DialogSkin
