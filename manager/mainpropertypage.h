#pragma once

#include "panelpage.h"

class CConfigManager;

// The control panel's page for the general switches of the browser and the manager, and the browser's home page.
class CMainPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    CMainPropertyPage(CConfigManager& config, QWidget* parent);
    ~CMainPropertyPage() override;

private:
    CConfigManager& m_config; // the process's one configuration, shared with the other pages
};
