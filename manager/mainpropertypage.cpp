#include "mainpropertypage.h"

#include "managerids.h"

CMainPropertyPage::CMainPropertyPage(CConfigManager& config, QWidget* parent)
    : CPanelPage(ManagerId::kMainPage, parent)
    , m_config(config)
{
}

CMainPropertyPage::~CMainPropertyPage() = default;
