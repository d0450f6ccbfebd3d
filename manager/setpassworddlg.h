#pragma once

#include <quenlit/beautifuldialog.h>

class CConfigManager;

namespace Quenlit {
class CCoolButton;
class CFlatEdit;
} // namespace Quenlit

// Asks the parent for the first password: typed twice, stored as its hash. Accepted when
// the parent wants the control panel to open at once.
class CSetPasswordDlg : public Quenlit::CBeautifulDialog
{
    Q_OBJECT

public:
    explicit CSetPasswordDlg(CConfigManager& config, QWidget* pParent = nullptr);
    ~CSetPasswordDlg() override;

    Quenlit::CFlatEdit* m_editPassword;      // 1038
    Quenlit::CFlatEdit* m_editPasswordAgain; // 1039
    Quenlit::CCoolButton* m_btnOk;           // 1037
    Quenlit::CCoolButton* m_btnCancel;       // 1029

public slots:
    void OnBnClickedOk();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CConfigManager& m_config;
};
