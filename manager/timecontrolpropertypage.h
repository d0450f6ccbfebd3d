#pragma once

#include "panelpage.h"

class CConfigManager;

// The control panel's page for whether the child's daily time on line is limited, and to how many minutes.
class CTimeControlPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    CTimeControlPropertyPage(CConfigManager& config, QWidget* parent);
    ~CTimeControlPropertyPage() override;

private:
    CConfigManager& m_config; // the process's one configuration, shared with the other pages
};
