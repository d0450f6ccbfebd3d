#include "containerview.h"

#include "ieview.h"

#include <QResizeEvent>

CContainerView::CContainerView(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
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
    }
    m_pActivePage = page;
    page->setEnabled(true);
    page->SetActive(true);
    fillWithActivePage();
    if (takeFocus)
        page->setFocus();
    emit pageActivated(page);
    return 1;
}

int CContainerView::RemoveView(CIEView* page)
{
    if (!page || !m_listPages.contains(page))
        return 0;
    m_listPages.removeOne(page);
    if (m_pActivePage == page)
        m_pActivePage = nullptr;
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
