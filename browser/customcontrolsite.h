#pragma once

#include <QWebEnginePage>

class QWebEngineView;

// The base of every page the browser shows, each tab's and the skin dialog's: a page
// script's message boxes go through the program's message box under the browser's own
// caption, the page finds the program's window.external, and the view's shortcuts that
// would refresh, open, print or open a new window never reach the page.
class CCustomControlSite : public QWebEnginePage
{
    Q_OBJECT

public:
    // The caption of every box a page script shows.
    static const char kScriptBoxCaption[];

    CCustomControlSite(QWebEngineProfile* profile, QObject* parent);

    // Takes the shortcuts that TranslateAccelerator names from `view`, whichever of its
    // widgets holds the keyboard (the engine makes the one that does later).
    static void HostView(QWebEngineView* view);

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
};
