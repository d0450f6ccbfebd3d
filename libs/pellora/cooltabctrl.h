#pragma once

#include "pellora_export.h"
#include "tabctrllayout.h"

#include <QBasicTimer>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>

class QFontMetrics;
class QPainter;

namespace Pellora {

// The style bit of Create that shows the control at once (the others are kTabStyle*).
inline constexpr unsigned kTabCtrlVisible = 0x10000000;
// The timer of the slide-in animation and its period.
inline constexpr int kTabCtrlAnimationTimerId = 100;
inline constexpr int kTabCtrlAnimationPeriodMs = 15;
// The owner's notification of a click on the close button (reported by closeButtonClicked()).
inline constexpr int kMsgTabCtrlClose = 1257;

// A light tab control that hosts widgets as pages: it moves every page into its page
// area and shows only the active one. Tabs are drawn from six skin pictures like
// three-piece buttons (only when they are at the top), and a small close button sits
// after the last tab. With the animate style a newly activated page slides in from the
// left.
class PELLORA_EXPORT CCoolTabCtrl : public QWidget
{
    Q_OBJECT
public:
    class PELLORA_EXPORT CPageItem
    {
    public:
        enum PageStyle { kCallersWindow = 0, kCreatedWindow = 1 };

        explicit CPageItem(CCoolTabCtrl* owner);
        CPageItem(const CPageItem&) = default;
        CPageItem& operator=(const CPageItem&) = default;

        // Caption width (in the control's font) plus 31, 49 with an icon.
        int GetAreaWidth(const QFontMetrics& metrics) const;
        // The caption as drawn: direction-changing characters written out as their codes.
        QString GetShownText() const;
        void Draw(QPainter& painter, unsigned style, bool active) const;
        void DrawNormalTabButton(QPainter& painter) const;
        void DrawActiveTabButton(QPainter& painter) const;
        void SetPageStyle(int style) { m_nStyle = style; }

        CCoolTabCtrl* m_pOwner;
        QPointer<QWidget> m_pWnd;
        int m_nStyle = kCallersWindow;
        QString m_strText;
        QIcon m_hIcon;
        QRect m_rect;

    private:
        void drawButton(QPainter& painter, bool active) const;
    };

    explicit CCoolTabCtrl(QWidget* parent = nullptr);
    ~CCoolTabCtrl() override;

    // The low four bits of `style` become the tab style (top tabs when they are 0);
    // kTabCtrlVisible shows the control, without it the control is hidden. The control
    // takes `rect` in `parent` and `id` as its object name. Always true.
    bool Create(unsigned style, const QRect& rect, QWidget* parent, int id);

    // Appends a page for `page`, moved into the page area and hidden unless it is the
    // active page. The page becomes a child of the control, so it goes with the control
    // unless its owner deletes it first (the control copes with that). Null (and nothing
    // changes, logged) without a page.
    CPageItem* AddPage(QWidget* page, const QString& text, const QIcon& icon = QIcon());
    // Appends a page the control creates with `create(control)` and owns; 0 when it
    // creates nothing, else 1.
    int AddCreatedPage(const std::function<QWidget*(QWidget* parent)>& create, const QString& text,
                       const QIcon& icon = QIcon());

    // Only when `index` differs from the active index: the active page is hidden; when
    // a page exists at `index` it becomes active and is shown, or slides in with the
    // animate style. An index without a page leaves the active index as it was.
    void SetActivePage(int index);
    int GetActivePage() const { return m_nActivePage; }
    CPageItem* GetPageItem(int index) const;
    int GetPageCount() const { return int(m_listPages.size()); }
    // The page area.
    QRect GetClientRect() const;
    // Lays the tabs and pages out (nothing without pages).
    void AutoSize();
    // Lays out, activates the active page (page 0 when none is) and repaints.
    void UpdateWindow();

    void SetStyle(unsigned style);
    unsigned GetStyle() const { return m_nStyle; }
    void SetStyleAnimate(bool animate);
    // 2 puts the tabs at the bottom, anything else at the top.
    void SetStyleDirection(int direction);
    void SetStyleMonoSpace(bool monoSpace);

    // COLORREFs (0x00BBGGRR).
    void SetBackgroundColor(unsigned long colorRef);
    void SetBorderColor(unsigned long colorRef);
    unsigned long GetBackgroundColor() const { return m_crBackColor; }
    unsigned long GetBorderColor() const { return m_crBorderColor; }
    // Skin pictures (file paths, magenta transparent); each call replaces its set.
    void SetTabPicture(const QString& leftNormal, const QString& middleNormal, const QString& rightNormal,
                       const QString& leftActive, const QString& middleActive, const QString& rightActive);
    void SetCloseButtonPicture(const QString& path);

    // The current geometry (tabs, close button, page area) as painted and hit-tested.
    TabCtrlLayout Layout() const;
    QRect CloseButtonRect() const { return m_rcCloseButton; }
    bool IsBackgroundDrawn() const { return m_bDrawBackground; }
    bool IsAnimating() const { return m_animationTimer.isActive(); }
    // One tick of the slide-in animation; the timer calls it every 15 ms.
    void AnimationStep();

    void DrawBackground(QPainter& painter) const;
    // A one-pixel outline of the page area in the border colour (not part of the paint).
    void DrawFrame(QPainter& painter) const;
    void DrawTabButton(QPainter& painter) const;
    void DrawCloseButton(QPainter& painter) const;

signals:
    void pageActivated(int index);
    // The close button was clicked (the owner's message 1257).
    void closeButtonClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // No menu here; a right click on the tabs or a page without a menu of its own ends
    // at the control.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class CPageItem;

    QList<int> naturalWidths() const;
    void finishAnimation();
    QFont captionFont() const;

    bool m_bDrawBackground = true;
    unsigned long m_crBackColor;
    unsigned long m_crBorderColor;
    QFont m_font;
    int m_nActivePage = -1;
    unsigned m_nStyle = kTabStyleBottom;
    int m_nBorder = 1;
    QList<CPageItem*> m_listPages;
    QPixmap m_bmpNormal[3]; // left, middle, right
    QPixmap m_bmpActive[3];
    QPixmap m_bmpClose;
    QRect m_rcCloseButton;

    QBasicTimer m_animationTimer;
    QPointer<QWidget> m_pSliding;
    int m_nSlideFrame = 0;
};

} // namespace Pellora
