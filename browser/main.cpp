#include "lorvaneapp.h"
#include "previewskinselectdlg.h"
#include "translations.h"

#include <QApplication>
#include <QWebEngineProfile>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    RequestEngineLanguage();
    CPreviewSkinSelectDlg::RegisterAppScheme();
    QApplication app(argc, argv);
    InstallQtTranslations(&app);
    // Sites offer their Chinese pages first, as they would to the child's own browser.
    QWebEngineProfile::defaultProfile()->setHttpAcceptLanguage(ProductWebLanguage() + QStringLiteral(",zh"));
    CLorvaneApp lorvane;
    if (!lorvane.InitInstance()) {
        lorvane.ExitInstance();
        return 1;
    }
    const int code = app.exec();
    lorvane.ExitInstance();
    return code;
}
