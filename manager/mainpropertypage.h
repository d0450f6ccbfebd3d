#pragma once

#include "panelpage.h"
#include "settingsrules.h"

class CConfigManager;

namespace Quenlit {
class CCoolButton;
class CCoolGroupBox;
class CFlatCheckBox;
class CFlatEdit;
class CLabel;
} // namespace Quenlit

// The control panel's page for the general switches of the browser and the manager, and the browser's home page.
class CMainPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    CMainPropertyPage(CConfigManager& config, QWidget* parent);
    ~CMainPropertyPage() override;

    // The frame around the home page: blue while the address can be edited, else the grey of disabled text.
    QColor HomePageFrameColor(bool editable) const;

    // Sets the controls from the configuration in memory.
    void FillFromConfig();
    // What the controls show now.
    GeneralSettings ShownSettings() const;
    // True when "保存" would store something the configuration does not hold yet.
    bool HasUnsavedChanges() const;
    // "保存": true when the configuration file was written. After a good write the parent
    // is also told what the stored settings mean for the child (SavedSettingsNotes).
    bool OnSave();
    // What the settings in memory leave the parent to know: a restriction to recommended
    // sites that would show the child only refusals, or a control panel open to anyone.
    QStringList SavedSettingsNotes() const;
    // "默认设置": true when the configuration file was written.
    bool OnDefaults();

    Quenlit::CLabel* m_labelHeading;
    Quenlit::CFlatCheckBox* m_checkOnlyChildSites;
    Quenlit::CFlatCheckBox* m_checkExitNeedPassword;
    Quenlit::CFlatCheckBox* m_checkLoginBeforeManage;
    Quenlit::CFlatCheckBox* m_checkOwnHomePage;
    Quenlit::CFlatEdit* m_editHomePage;
    Quenlit::CCoolGroupBox* m_frameHomePage;
    Quenlit::CCoolButton* m_btnSave;
    Quenlit::CCoolButton* m_btnDefaults;

private:
    void OnOwnHomePageChanged(bool checked);

    CConfigManager& m_config; // the process's one configuration, shared with the other pages
};
