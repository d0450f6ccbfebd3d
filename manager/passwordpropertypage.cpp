#include "passwordpropertypage.h"

#include "managerids.h"

CPasswordPropertyPage::CPasswordPropertyPage(CConfigManager& config, QWidget* parent)
    : CPanelPage(ManagerId::kPasswordPage, parent)
    , m_config(config)
{
}

CPasswordPropertyPage::~CPasswordPropertyPage() = default;
