#pragma once

#include <QWebEngineUrlRequestInterceptor>

class QWebEngineProfile;

// Every network request of every page, pictures, scripts, fetches and sockets
// included, before it leaves: a document without a recommended web host (a local
// file, a blank page a script wrote, the browser's own pages) reaches no other host.
class CRequestFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

// Sets the profile the pages share up for a child, once: no address is handed to
// another program, the request filter above watches every request, and the page
// features that would write files or reach devices stay off.
void PrepareBrowserProfile(QWebEngineProfile* profile);
