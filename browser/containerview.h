#pragma once

#include "tablifecycle.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class CIEView;

// The frame's client area: owns the page views, one per tab, and shows exactly one
// of them, the active page, filling the whole area. The pages not shown sleep and,
// past the budget, are unloaded, as the lifecycle rules say.
class CContainerView : public QWidget
{
    Q_OBJECT

public:
    explicit CContainerView(QWidget* parent = nullptr);
    ~CContainerView() override;

    // A new page view, hidden and disabled outside the visible area, appended to the
    // page list.
    CIEView* CreateView();
    // Shows `page` as the only visible page and, with `takeFocus`, gives it the keyboard:
    // 1 when shown, 0 when it is not one of ours.
    int ActivateView(CIEView* page, bool takeFocus = true);
    // Destroys `page` (which records its last stay) and drops it: 1 when found.
    int RemoveView(CIEView* page);

    CIEView* ActivePage() const { return m_pActivePage; }
    const QList<CIEView*>& Pages() const { return m_listPages; }

    // Brings every page to the state the lifecycle rules give it now; it runs by itself
    // whenever that may have changed.
    void UpdateLifecycles();
    void SetLifecycleBudget(const TabLifecycle::Budget& budget);

signals:
    // The active page changed; the address box follows it.
    void pageActivated(CIEView* page);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void fillWithActivePage();
    void scheduleLifecycles();

    QPointer<CIEView> m_pActivePage;
    QList<CIEView*> m_listPages;
    TabLifecycle::Budget m_lifecycleBudget;
    QTimer m_lifecycleTimer;
};
