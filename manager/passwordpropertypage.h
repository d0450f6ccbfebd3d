#pragma once

#include "panelpage.h"

class CConfigManager;

namespace Quenlit {
class CCoolButton;
class CFlatEdit;
class CLabel;
} // namespace Quenlit

// The control panel's page for changing the parents' password.
class CPasswordPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    CPasswordPropertyPage(CConfigManager& config, QWidget* parent);
    ~CPasswordPropertyPage() override;

    // "确认修改": true when the new password was written; the three edits are emptied then.
    bool OnChangePassword();

    Quenlit::CLabel* m_labelHeading;
    Quenlit::CFlatEdit* m_editCurrent;
    Quenlit::CFlatEdit* m_editNew;
    Quenlit::CFlatEdit* m_editAgain;
    Quenlit::CCoolButton* m_btnChange;

private:
    CConfigManager& m_config; // the process's one configuration, shared with the other pages
};
