#pragma once

#include <pellora/cooldialog.h>

namespace Pellora {
class CCoolButton;
class CCoolEdit;
}

// Asks for the parents' password before the browser closes. Enter acts as "确定";
// Escape and "取消" cancel and the browser keeps running.
class CExitPasswordDlg : public Pellora::CCoolDialog
{
    Q_OBJECT

public:
    explicit CExitPasswordDlg(QWidget* parent = nullptr);

    Pellora::CCoolEdit* PasswordEdit() const { return m_pPasswordEdit; }
    Pellora::CCoolButton* OkButton() const { return m_pOkButton; }
    Pellora::CCoolButton* CancelButton() const { return m_pCancelButton; }

    // "确定": ends with OK only for the right password.
    void OnOK();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Pellora::CCoolButton* m_pCancelButton;
    Pellora::CCoolButton* m_pOkButton;
    Pellora::CCoolEdit* m_pPasswordEdit;
};
