#pragma once

#include "pellora_export.h"
#include "sizingcontrolbar.h"

#include <QColor>
#include <QPointer>
#include <QRect>

class QPainter;

namespace Pellora {

// The small close button of a bar's gripper band: 13 x 13 pixels at its top-left
// point, a cross drawn by hand, sunken while pushed and raised while the mouse is over
// it. It is not a widget: the band paints it and hit-tests it.
class PELLORA_EXPORT CSCBButton
{
public:
    static constexpr int kSize = 13;

    void Move(const QPoint& topLeft) { m_ptOrg = topLeft; }
    QRect GetRect() const { return QRect(m_ptOrg, QSize(kSize, kSize)); }
    void Paint(QPainter& painter) const;

    bool m_bPushed = false;
    bool m_bRaised = false;

private:
    QPoint m_ptOrg;
};

class CCoolBarGripper;

// A sizing control bar with a 12-pixel gripper band holding a close button, and a skin
// background colour. The band runs along the top of a bar docked at the left or right
// or floating, and along the left of a bar docked at the top or bottom. Clicking the
// close button hides the bar; showing it again brings it back at its last size.
class PELLORA_EXPORT CCoolBar : public CSizingControlBar
{
    Q_OBJECT
public:
    explicit CCoolBar(QWidget* parent = nullptr);
    ~CCoolBar() override;

    // Records `parent` as the notify window, then creates the bar. The band is always
    // there (it carries the close button and is where the bar is dragged from);
    // `hasGripper` decides whether it shows the two raised grip lines.
    bool Create(const QString& title, QMainWindow* parent, const QSize& sizeDefault, bool hasGripper,
                int barId) override;

    bool HasGripper() const { return m_bHasGripper; }
    // COLORREF 0x00BBGGRR of the band and the bar's frame.
    void SetBackColor(unsigned long colorRef);
    unsigned long GetBackColor() const { return m_crBackColor; }
    // Where the owner sends what the bar's child controls report; the parent unless set.
    void SetNotifyWindow(QObject* window) { m_hNotify = window; }
    QObject* GetNotifyWindow() const { return m_hNotify; }
    // Hides the bar, as its close button does.
    void OnCoolBarClose();

    // The band's depth and the band widget (the dock's title bar).
    int GripperDepth() const { return m_nGripperDepth; }
    QWidget* Gripper() const;
    // The close button's place in the band's coordinates.
    QRect CloseButtonRect() const;

    const int m_nGripperDepth = 12;

signals:
    // The child closed the bar with the band's close button.
    void closedByButton();

protected:
    void OnStateChanged() override;

private:
    friend class CCoolBarGripper;

    CCoolBarGripper* m_pGripper = nullptr;
    unsigned long m_crBackColor;
    QPointer<QObject> m_hNotify;
};

} // namespace Pellora
