#pragma once

#include "panelpage.h"

class CConfigManager;

// The control panel's page for changing the parents' password.
class CPasswordPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    CPasswordPropertyPage(CConfigManager& config, QWidget* parent);
    ~CPasswordPropertyPage() override;

private:
    CConfigManager& m_config; // the process's one configuration, shared with the other pages
};
