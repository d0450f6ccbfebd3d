#pragma once

#include "panelpage.h"

// The control panel's page for the sites the parents recommend, to which the browser can be restricted.
class CParentRecommentPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    explicit CParentRecommentPropertyPage(QWidget* parent);
    ~CParentRecommentPropertyPage() override;
};
