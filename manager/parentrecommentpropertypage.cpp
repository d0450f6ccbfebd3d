#include "parentrecommentpropertypage.h"

#include "managerids.h"

CParentRecommentPropertyPage::CParentRecommentPropertyPage(QWidget* parent)
    : CPanelPage(ManagerId::kRecommendPage, parent)
{
}

CParentRecommentPropertyPage::~CParentRecommentPropertyPage() = default;
