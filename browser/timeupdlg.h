#pragma once

#include <pellora/cooldialog.h>

namespace Pellora {
class CCoolButton;
class CCoolEdit;
}

// Asks for the parents' password and the minutes to grant once the allowance is used
// up. It has no way out but the right password with 1 to 600 minutes: Enter, Escape
// and Alt+F4 do nothing, and a close request is refused.
class CTimeUpDlg : public Pellora::CCoolDialog
{
    Q_OBJECT

public:
    explicit CTimeUpDlg(QWidget* parent = nullptr);

    int ExtensionMinutes() const { return m_nExtensionMinutes; }
    Pellora::CCoolEdit* PasswordEdit() const { return m_pPasswordEdit; }
    Pellora::CCoolEdit* MinutesEdit() const { return m_pMinutesEdit; }
    Pellora::CCoolButton* UnlockButton() const { return m_pUnlockButton; }

    // "解除锁定": checks in order and ends the dialog only on success.
    void OnUnlock();

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int m_nExtensionMinutes = 0;
    Pellora::CCoolButton* m_pUnlockButton;
    Pellora::CCoolEdit* m_pMinutesEdit;
    Pellora::CCoolEdit* m_pPasswordEdit;
};
