#pragma once

#include "ieview.h"

#include <QPointer>
#include <QWebEngineUrlRequestInterceptor>

class QWebEngineProfile;

// Every network request, pictures, scripts, fetches and sockets included, before it
// leaves: a document without a recommended web host (a local file, a blank page a
// script wrote, the browser's own pages) reaches no other host. The profile's filter
// judges by the site the engine names; a page's own filter by the page's document,
// since a blank window a page opened carries its opener's site but none of its rights.
class CRequestFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    explicit CRequestFilter(QObject* parent, CIEPage* page = nullptr);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QPointer<CIEPage> m_page;
};

// Sets the profile the pages share up for a child, once: no address is handed to
// another program, the request filter above watches every request, and the page
// features that would write files or reach devices stay off.
void PrepareBrowserProfile(QWebEngineProfile* profile);
