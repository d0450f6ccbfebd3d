#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class CIEView;

// The frame's client area: owns the page views, one per tab, and shows exactly one
// of them, the active page, filling the whole area.
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

signals:
    // The active page changed; the address box follows it.
    void pageActivated(CIEView* page);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void fillWithActivePage();

    QPointer<CIEView> m_pActivePage;
    QList<CIEView*> m_listPages;
};
