#pragma once

#include <quenlit/beautifuldialog.h>

#include <QList>

#include <array>

class CAboutPropage;
class CConfigManager;
class CHistoryPropertyPage;
class CMainPropertyPage;
class CPanelPage;
class CParentRecommentPropertyPage;
class CPasswordPropertyPage;
class CTimeControlPropertyPage;

namespace Quenlit {
class CCoolGroupBox;
class CCoolTabButton;
} // namespace Quenlit

// The control panel: six page buttons across the top and one page area below them in which
// exactly one page shows. Enter and Escape never close it; only its close button does.
class CControlPanelDlg : public Quenlit::CBeautifulDialog
{
    Q_OBJECT

public:
    // Pages in the order they are created.
    enum Page { General, TimeLimit, Password, Recommend, History, About, PageCount };

    explicit CControlPanelDlg(CConfigManager& config, QWidget* pParent = nullptr);
    ~CControlPanelDlg() override;

    static constexpr QSize kClientSize{704, 603};
    // The page area (control 1006), in client coordinates.
    static QRect PageAreaRect();
    // The hidden frame that marks the page area, in window coordinates.
    Quenlit::CCoolGroupBox* PageArea() const { return m_groupPageArea; }
    // The page buttons from left to right: control number, text, icon and page shown.
    struct PageButton {
        int ctrlId;
        const char* text;
        unsigned int bmpId;
        Page page;
    };
    static const std::array<PageButton, PageCount>& PageButtons();

    void ShowPage(Page page);
    Page CurrentPage() const { return m_current; }
    CPanelPage* PageWidget(Page page) const { return m_pages[page]; }
    // The button at a place from the left (0 to 5).
    Quenlit::CCoolTabButton* PageButtonAt(int position) const { return m_buttons[position]; }

    CMainPropertyPage* m_pageMain;
    CTimeControlPropertyPage* m_pageTime;
    CPasswordPropertyPage* m_pagePassword;
    CParentRecommentPropertyPage* m_pageRecommend;
    CHistoryPropertyPage* m_pageHistory;
    CAboutPropage* m_pageAbout;

    // The pages whose controls hold something not saved yet, in page order.
    QList<Page> PagesWithUnsavedChanges() const;

protected:
    void OnEraseBkgnd(QPainter& dc, const QRect& clientRect) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Unsaved changes are offered for saving first; a save that fails keeps the panel open
    // on that page.
    void closeEvent(QCloseEvent* event) override;

private:
    CConfigManager& m_config; // shared with the pages
    std::array<CPanelPage*, PageCount> m_pages{};
    std::array<Quenlit::CCoolTabButton*, PageCount> m_buttons{};
    Quenlit::CCoolGroupBox* m_groupPageArea;
    Page m_current = General;
};
