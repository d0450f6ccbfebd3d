#pragma once

#include "pellora_export.h"
#include "tablayout.h"

#include <QBasicTimer>
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QFontMetricsF;
class QPainter;

namespace Pellora {

// The browser's strip of page tabs: one tab per page, drawn from skin bitmaps, a close
// button on each tab while more than one is open, and two scroll arrows for when the
// tabs are wider than the strip. The owner hears of activations, close clicks and
// scroll presses through signals and closes a tab by calling CloseTabButtonByIndex.
class PELLORA_EXPORT CCoolTabBar : public QWidget
{
    Q_OBJECT
public:
    // Item and arrow states.
    enum { kActive = 0, kPressed = 0, kNormal = 2, kDisabled = 3 };

    // One tab. Items are owned by the bar and deleted when their tab is closed; an owner
    // that needs an item after closing its tab keeps a copy.
    class PELLORA_EXPORT CPageItem
    {
    public:
        explicit CPageItem(CCoolTabBar* owner);
        virtual ~CPageItem();
        CPageItem(const CPageItem&) = default;
        CPageItem& operator=(const CPageItem&) = default;

        // The tab's width for its caption, measured with `metrics` (the tab font).
        int GetAreaWidth(const QFontMetricsF& metrics) const;
        // Rectangles at the given scroll offset, in bar coordinates.
        QRect GetCloseButtonRect(int offset) const;
        QRect GetTextArea(int offset) const;
        // The caption as drawn: cut with an ellipsis when it does not fit its area.
        QString GetShownText() const;
        void Draw(QPainter& painter, int offset) const;

        QRect m_rect;               // in strip coordinates, before the scroll offset
        QPointer<QWidget> m_pWnd;   // the page the tab stands for (not owned)
        QString m_strText;
        QIcon m_hIcon;
        CCoolTabBar* m_pOwner;
        int m_nStatus = kNormal;    // kActive for the active tab

    private:
        void drawTab(QPainter& painter, const QRect& r, bool active) const;
    };

    explicit CCoolTabBar(QWidget* parent = nullptr);
    ~CCoolTabBar() override;

    // Appends a tab for `page`, activates it and scrolls it into view; 0 (and nothing
    // changes) without a page, else 1.
    int AddPage(QWidget* page, const QString& text, const QIcon& icon = QIcon());
    // Makes tab `index` the active one and reports it, only when it is not already
    // active. An index without a tab is still recorded and reported with a null item.
    void SetActivePage(int index);
    int GetActivePage() const { return m_nActivePage; }
    int GetPageCount() const { return int(m_listPages.size()); }
    CPageItem* GetPageItem(int index) const;
    CPageItem* GetPageItemByWnd(QWidget* page) const;
    CPageItem* GetActivePageItem() const;
    int GetIndexOfItem(const CPageItem* item) const;
    // True while more than one tab is open: only then can a tab be closed.
    bool IsCanClose() const { return m_listPages.size() > 1; }
    // Closes tab `index`, activating its neighbour first when it was the active one
    // (the right-hand one, or the left-hand one for the last tab); non-zero when a tab
    // was removed.
    int CloseTabButtonByIndex(int index);
    // Sets the caption of every tab of `page`.
    void SetTabItemText(QWidget* page, const QString& text);
    // Scrolls so that tab `index` ends 20 pixels before the right edge when it is out
    // of view to the right.
    void RollToIndex(int index);
    int GetAllWidthFromIndex(int index) const;

    int ScrollOffset() const { return m_nScrollOffset; }
    bool IsScrolling() const { return m_bScrolling; }
    TabBarGeometry Geometry() const;
    // A tab's rectangle as shown: shifted by the offset and clipped to the tab area.
    QRect VisibleTabRect(int index) const;
    // A tab's close button as shown and clickable: empty while fewer than two tabs are
    // open or while the button is not wholly inside the tab area.
    QRect CloseButtonRect(int index) const;
    // The strip takes focus from the Tab key only (a click goes on to the page), and then
    // rings the active tab, which the arrow keys, Home and End move.
    bool HasFocusCue() const { return m_bFocusCue && hasFocus(); }

    // Skin pictures (file paths); each setter replaces its set.
    void SetFrameBkPic(const QString& path);
    void SetPrevButtonPic(const QString& normal, const QString& mask, const QString& press, const QString& disable);
    void SetForwardButtonPic(const QString& normal, const QString& mask, const QString& press,
                             const QString& disable);
    void SetTabButtonNormalPic(const QString& left, const QString& middle, const QString& right);
    void SetTabButtonActivePic(const QString& left, const QString& middle, const QString& right);
    void SetTabCloseButtonPic(const QString& path);

signals:
    void tabActivated(int index, CCoolTabBar::CPageItem* item);
    void tabCloseClicked(int index, CCoolTabBar::CPageItem* item);
    void tabScrollPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    void ResizeAllTab();
    void DrawBackground(QPainter& painter) const;
    void DrawAllTab(QPainter& painter) const;
    void DrawBackWordButton(QPainter& painter, int status) const;
    void DrawForWardButton(QPainter& painter, int status) const;
    int GetAllTabNeedWidth() const;
    int GetStartTabIndex() const;
    int GetLastTabIndex() const;
    bool IsCanRollBack() const;
    bool IsCanRollForwad() const;

private:
    enum class Hit { Nothing, Back, Forward, Tab, Close };
    Hit hitTest(const QPoint& pos, int* index) const;
    QList<int> tabWidths() const;
    // The active tab is wholly inside the tab area.
    bool activeTabShown() const;
    void startScrolling(int step);
    void stopScrolling();
    void drawFocusRing(QPainter& painter) const;
    void drawArrow(QPainter& painter, const QRect& rect, const QPixmap* faces, int status, bool forward) const;
    QFont tabFont() const;

    int m_nActivePage = -1;
    QList<CPageItem*> m_listPages;
    QPixmap m_bmpBackground;
    QPixmap m_bmpBack[4];    // by status: pressed, (unused), normal, disabled; mask applied
    QPixmap m_bmpForward[4];
    QPixmap m_bmpNormal[3];  // left, middle, right
    QPixmap m_bmpActive[3];
    QPixmap m_bmpClose;
    int m_nScrollOffset = 0;
    QRect m_rcTabArea;
    QRect m_rcForwardButton;
    QRect m_rcBackButton;
    bool m_bScrolling = false;
    int m_nScrollStep = 0;
    QBasicTimer m_scrollTimer;
    bool m_bFocusCue = false;
};

} // namespace Pellora
