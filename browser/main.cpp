#include "lorvaneapp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    CLorvaneApp lorvane;
    if (!lorvane.InitInstance()) {
        lorvane.ExitInstance();
        return 1;
    }
    const int code = app.exec();
    lorvane.ExitInstance();
    return code;
}
