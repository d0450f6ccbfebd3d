#pragma once

#include <quenlit/beautifuldialog.h>

class CConfigManager;

namespace Quenlit {
class CCoolButton;
class CFlatEdit;
} // namespace Quenlit

// Asks for the parents' password before the control panel opens. Enter logs in,
// Escape gives up.
class CLoginDlg : public Quenlit::CBeautifulDialog
{
    Q_OBJECT

public:
    explicit CLoginDlg(CConfigManager& config, QWidget* pParent = nullptr);
    ~CLoginDlg() override;

    Quenlit::CFlatEdit* m_editPassword; // 1038
    Quenlit::CCoolButton* m_btnLogin;   // 1042
    Quenlit::CCoolButton* m_btnCancel;  // 1029

public slots:
    void OnBnClickedLogin();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CConfigManager& m_config;
};
