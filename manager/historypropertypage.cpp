#include "historypropertypage.h"

#include "managerids.h"

CHistoryPropertyPage::CHistoryPropertyPage(QWidget* parent)
    : CPanelPage(ManagerId::kHistoryPage, parent)
{
}

CHistoryPropertyPage::~CHistoryPropertyPage() = default;
