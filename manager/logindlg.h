#pragma once

#include "beautifuldialog.h"

class CConfigManager;
class CCoolButton;
class CFlatEdit;

// Asks for the parents' password before the control panel opens. Enter logs in,
// Escape gives up.
class CLoginDlg : public CBeautifulDialog
{
    Q_OBJECT

public:
    explicit CLoginDlg(CConfigManager& config, QWidget* pParent = nullptr);
    ~CLoginDlg() override;

    CFlatEdit* m_editPassword; // 1038
    CCoolButton* m_btnLogin;   // 1042
    CCoolButton* m_btnCancel;  // 1029

public slots:
    void OnBnClickedLogin();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CConfigManager& m_config;
};
