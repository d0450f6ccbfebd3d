#pragma once

#include "panelpage.h"

class CConfigManager;

namespace Quenlit {
class CCoolButton;
class CFlatEdit;
class CLabel;
class CRadioBox;
} // namespace Quenlit

// The control panel's page for whether the child's daily time on line is limited, and to how many minutes.
class CTimeControlPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    CTimeControlPropertyPage(CConfigManager& config, QWidget* parent);
    ~CTimeControlPropertyPage() override;

    // Sets the controls from the configuration in memory.
    void FillFromConfig();
    // "保存": true when the configuration file was written.
    bool OnSave();
    // "默认设置": no limit and the installer's allowance; true when the file was written.
    bool OnDefaults();

    Quenlit::CLabel* m_labelHeading;
    Quenlit::CRadioBox* m_radioLimit;
    Quenlit::CRadioBox* m_radioNoLimit;
    Quenlit::CFlatEdit* m_editMinutes;
    Quenlit::CCoolButton* m_btnSave;
    Quenlit::CCoolButton* m_btnDefaults;

private:
    // The minutes can be typed exactly while the limit is on.
    void OnRadioCheckChanged();

    CConfigManager& m_config; // the process's one configuration, shared with the other pages
};
