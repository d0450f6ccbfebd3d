#pragma once

#include "panelpage.h"

class CConfigManager;
class CCoolButton;
class CFlatEdit;

// The control panel's page for changing the parents' password.
class CPasswordPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    CPasswordPropertyPage(CConfigManager& config, QWidget* parent);
    ~CPasswordPropertyPage() override;

    // "确认修改": true when the new password was written; the three edits are emptied then.
    bool OnChangePassword();

    CFlatEdit* m_editCurrent;
    CFlatEdit* m_editNew;
    CFlatEdit* m_editAgain;
    CCoolButton* m_btnChange;

private:
    CConfigManager& m_config; // the process's one configuration, shared with the other pages
};
