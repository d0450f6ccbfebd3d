#pragma once

#include "customcontrolsite.h"
#include "skinselect.h"

#include <QDialog>

class QWebEngineView;

// The skin dialog's page: it acts on the preview page's "app:" addresses, which never
// open, and goes nowhere but the browser's own pages.
class CPreviewSkinPage : public CCustomControlSite
{
    Q_OBJECT

public:
    CPreviewSkinPage(QWebEngineProfile* profile, QObject* parent);

signals:
    void closeRequested();
    // The text after "OnChangeSurface@@@".
    void changeRequested(const QString& choice);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
};

// The skin dialog: a window without caption or border in the shape of the current
// skin's preview background, showing the preview page with a box for every skin. A
// pick puts the skin on, records it as the current skin and closes the dialog.
class CPreviewSkinSelectDlg : public QDialog
{
    Q_OBJECT

public:
    // The size of the dialog's template, the size the preview backgrounds are drawn for.
    static constexpr QSize kSize{480, 360};

    explicit CPreviewSkinSelectDlg(QWidget* parent = nullptr);

    // The preview page's "app:" addresses reach the page only when the scheme is known
    // before the application object exists.
    static void RegisterAppScheme();

    // The script calls that fill the preview page: for each skin "AddPrevBox" with its
    // six texts, then "SetBackgroundImage" with the background picture.
    static QStringList PreviewStatements(const QList<SkinSelect::PreviewBox>& boxes, const QString& background);

    QWebEngineView* Browser() const { return m_pBrowser; }
    // True when the child picked a skin that could not be put on (the old one stayed).
    bool SkinRefused() const { return m_bSkinRefused; }

signals:
    // A skin was put on: every window is to apply it.
    void skinChanged(const QString& definition);

private:
    void onDocumentComplete(bool ok);
    void changeSurface(const QString& choice);

    QWebEngineView* m_pBrowser;
    bool m_bFirstLoad = true;
    bool m_bSkinRefused = false;
};
