#pragma once

#include "panelpage.h"

class CHistoryListCtrl;
class QModelIndex;

namespace Quenlit {
class CCoolButton;
class CFlatEdit;
} // namespace Quenlit

// The control panel's page for the history of the child's browsing, page by page.
class CHistoryPropertyPage : public CPanelPage
{
    Q_OBJECT

public:
    explicit CHistoryPropertyPage(QWidget* parent);
    ~CHistoryPropertyPage() override;

    int CurrentPage() const { return m_nCurrentPage; }

    // Reads the current page anew; false (after telling the parent) when the database
    // could not be read.
    bool Refresh();
    void OnPrevPage();
    void OnNextPage();
    // "跳转": the typed page, kept within the pages there are.
    void OnGoToPage();
    // "清除历史记录", after the parent has said yes.
    void OnClearHistory();
    // "本周报告": the last seven days, up to today.
    void OnWeeklyReport();
    // Opens a recorded web address in the system's browser.
    void OnListDoubleClicked(const QModelIndex& index);

    CHistoryListCtrl* m_listHistory;
    Quenlit::CCoolButton* m_btnPrev;
    Quenlit::CCoolButton* m_btnNext;
    Quenlit::CFlatEdit* m_editPage;
    Quenlit::CCoolButton* m_btnGoTo;
    Quenlit::CFlatEdit* m_editPageCount;
    Quenlit::CCoolButton* m_btnReport;
    Quenlit::CCoolButton* m_btnClear;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showReadFailure(const QString& what, const QString& reason);

    int m_nCurrentPage = 1;
};
