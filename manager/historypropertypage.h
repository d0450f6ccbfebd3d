#pragma once

#include "panelpage.h"

// The control panel's page for the history of the child's browsing, page by page.
class CHistoryPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    explicit CHistoryPropertyPage(QWidget* parent);
    ~CHistoryPropertyPage() override;
};
