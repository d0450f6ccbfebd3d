#pragma once

#include "cooldialog.h"

class CCoolButton;
class CCoolEdit;

// Asks for the parents' password before the browser closes. Enter acts as "确定";
// Escape and "取消" cancel and the browser keeps running.
class CExitPasswordDlg : public CCoolDialog
{
    Q_OBJECT

public:
    explicit CExitPasswordDlg(QWidget* parent = nullptr);

    CCoolEdit* PasswordEdit() const { return m_pPasswordEdit; }
    CCoolButton* OkButton() const { return m_pOkButton; }
    CCoolButton* CancelButton() const { return m_pCancelButton; }

    // "确定": ends with OK only for the right password.
    void OnOK();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CCoolButton* m_pCancelButton;
    CCoolButton* m_pOkButton;
    CCoolEdit* m_pPasswordEdit;
};
