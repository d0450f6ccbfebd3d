#pragma once

#include "panelpage.h"

namespace Quenlit {
class CCoolButton;
class CCoolGroupBox;
class CFlatEdit;
class CViewRecommentListCtrl;
} // namespace Quenlit

// The control panel's page for the sites the parents recommend, to which the browser can
// be restricted: five at a time, newest first, each with its snapshot, added, edited and
// deleted through the two site dialogs.
class CParentRecommentPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    explicit CParentRecommentPropertyPage(QWidget* parent);
    ~CParentRecommentPropertyPage() override;

    int CurrentPage() const { return m_nCurrentPage; }

    // Reads the current page anew; false (after telling the parent) when the database
    // could not be read.
    bool Refresh();
    void OnPrevPage();
    void OnNextPage();
    // "跳转": the typed page, kept within the pages there are.
    void OnGoToPage();
    void OnListClicked();
    void OnAddSite();
    void OnEditSite();
    void OnDeleteSite();
    // "孩子的请求": the sites the child asked for.
    void OnRequests();
    // Counts the pending requests into the button's text.
    void RefreshRequestCount();

    Quenlit::CViewRecommentListCtrl* m_listSites; // 1022
    Quenlit::CCoolButton* m_btnPrev;              // 1034
    Quenlit::CCoolButton* m_btnNext;              // 1035
    Quenlit::CFlatEdit* m_editPage;               // 1036
    Quenlit::CCoolButton* m_btnGoTo;              // 1037
    Quenlit::CFlatEdit* m_editPageCount;          // 1038
    Quenlit::CCoolButton* m_btnAdd;               // 1023
    Quenlit::CCoolButton* m_btnEdit;              // 1025
    Quenlit::CCoolButton* m_btnDelete;            // 1024
    Quenlit::CCoolButton* m_btnRequests;
    Quenlit::CCoolGroupBox* m_groupResult;        // 1012
    Quenlit::CCoolGroupBox* m_groupActions;       // 1007

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateActions();

    int m_nCurrentPage = 1;
};
