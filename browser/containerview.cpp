#include "containerview.h"

#include "ieview.h"
#include "tickclock.h"

#include <QResizeEvent>

CContainerView::CContainerView(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    m_lifecycleTimer.setSingleShot(true);
    connect(&m_lifecycleTimer, &QTimer::timeout, this, &CContainerView::UpdateLifecycles);
}

CContainerView::~CContainerView()
{
    // Each page records its last stay as it goes.
    const QList<CIEView*> pages = m_listPages;
    m_listPages.clear();
    qDeleteAll(pages);
}

CIEView* CContainerView::CreateView()
{
    auto* view = new CIEView(this);
    view->setGeometry(-800, -600, 800, 600);
    view->hide();
    view->setEnabled(false);
    view->SetHiddenSince(TickClock::now());
    connect(view, &CIEView::pageLoadingChanged, this, &CContainerView::scheduleLifecycles);
    connect(view, &QWebEngineView::printFinished, this, &CContainerView::scheduleLifecycles);
    connect(view->page(), &QWebEnginePage::recentlyAudibleChanged, this, &CContainerView::scheduleLifecycles);
    m_listPages.append(view);
    return view;
}

int CContainerView::ActivateView(CIEView* page, bool takeFocus)
{
    if (!page || !m_listPages.contains(page))
        return 0;
    if (m_pActivePage && m_pActivePage != page) {
        m_pActivePage->SetActive(false);
        m_pActivePage->setEnabled(false);
        m_pActivePage->hide();
        m_pActivePage->SetHiddenSince(TickClock::now());
    }
    m_pActivePage = page;
    // Woken before it shows: an unloaded page starts loading its address again.
    page->SetLifecycle(TabLifecycle::State::Active);
    page->setEnabled(true);
    page->SetActive(true);
    fillWithActivePage();
    if (takeFocus)
        page->setFocus();
    emit pageActivated(page);
    scheduleLifecycles();
    return 1;
}

int CContainerView::RemoveView(CIEView* page)
{
    if (!page || !m_listPages.contains(page))
        return 0;
    m_listPages.removeOne(page);
    if (m_pActivePage == page)
        m_pActivePage = nullptr;
    scheduleLifecycles();
    if (page->IsPrinting()) {
        // Its stay ends with its tab; the view itself waits for the print to finish.
        page->Page()->RecordLastStay();
        page->Page()->setAudioMuted(true);
        page->hide();
        connect(page, &QWebEngineView::printFinished, page, &QObject::deleteLater);
        return 1;
    }
    delete page;
    return 1;
}

void CContainerView::SetLifecycleBudget(const TabLifecycle::Budget& budget)
{
    m_lifecycleBudget = budget;
    scheduleLifecycles();
}

void CContainerView::scheduleLifecycles()
{
    // After the event that asked for it: a page is shown, a load is reported, a tab goes.
    m_lifecycleTimer.start(0);
}

void CContainerView::UpdateLifecycles()
{
    QList<TabLifecycle::Tab> tabs;
    for (const CIEView* view : std::as_const(m_listPages))
        tabs.append({view == m_pActivePage, view->HiddenSince(), view->IsLoading(), view->IsPrinting(),
                     view->page()->recentlyAudible(), view->Lifecycle()});
    const uint32_t now = TickClock::now();
    const QList<TabLifecycle::State> plan = TabLifecycle::Plan(tabs, now, m_lifecycleBudget);
    for (qsizetype i = 0; i < plan.size(); ++i)
        m_listPages[i]->SetLifecycle(plan[i]);
    const int next = TabLifecycle::NextChangeInMs(tabs, now, m_lifecycleBudget);
    if (next >= 0)
        m_lifecycleTimer.start(next);
    else
        m_lifecycleTimer.stop();
}

void CContainerView::fillWithActivePage()
{
    if (!m_pActivePage)
        return;
    m_pActivePage->setGeometry(rect());
    m_pActivePage->show();
}

void CContainerView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fillWithActivePage();
}

void CContainerView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (m_pActivePage) {
        fillWithActivePage();
        m_pActivePage->setFocus();
    }
}
