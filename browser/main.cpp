#include "lorvaneapp.h"
#include "previewskinselectdlg.h"
#include "startuptrace.h"
#include "translations.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QWebEngineProfile>

int main(int argc, char** argv)
{
    StartupTrace::Mark("main");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Eight bits a colour for the pages' GL surfaces. Left open, a software GL under
    // Wayland picks 16-bit pixels in shared memory, whose rows of an odd width (the frame
    // is the screen and 3 more) a compositor's software renderer cannot read, and it fails.
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    QSurfaceFormat::setDefaultFormat(format);
    RequestEngineLanguage();
    CPreviewSkinSelectDlg::RegisterAppScheme();
    QApplication app(argc, argv);
    StartupTrace::Mark("application");
    CLorvaneApp lorvane;
    // The start row, the configuration and the skin are made ready while the web engine starts.
    lorvane.BeginStart();
    InstallQtTranslations(&app);
    // Sites offer their Chinese pages first, as they would to the child's own browser.
    QWebEngineProfile::defaultProfile()->setHttpAcceptLanguage(ProductWebLanguage() + QStringLiteral(",zh"));
    StartupTrace::Mark("engine profile");
    if (!lorvane.InitInstance()) {
        lorvane.ExitInstance();
        return 1;
    }
    const int code = app.exec();
    lorvane.ExitInstance();
    return code;
}
