#pragma once

#include "beautifuldialog.h"

class CConfigManager;
class CCoolButton;
class CCoolGroupBox;
class CFlatEdit;

// Asks the parent for the first password: typed twice, stored as its hash. Accepted when
// the parent wants the control panel to open at once.
class CSetPasswordDlg : public CBeautifulDialog
{
    Q_OBJECT

public:
    explicit CSetPasswordDlg(CConfigManager& config, QWidget* pParent = nullptr);
    ~CSetPasswordDlg() override;

    CFlatEdit* m_editPassword;      // 1038
    CFlatEdit* m_editPasswordAgain; // 1039
    CCoolButton* m_btnOk;           // 1037
    CCoolButton* m_btnCancel;       // 1029

public slots:
    void OnBnClickedOk();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CConfigManager& m_config;
};
