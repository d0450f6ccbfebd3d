#include "timecontrolpropertypage.h"

#include "managerids.h"

CTimeControlPropertyPage::CTimeControlPropertyPage(CConfigManager& config, QWidget* parent)
    : CPanelPage(ManagerId::kTimeControlPage, parent)
    , m_config(config)
{
}

CTimeControlPropertyPage::~CTimeControlPropertyPage() = default;
