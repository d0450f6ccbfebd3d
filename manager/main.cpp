#include "managerapp.h"
#include "managerart.h"
#include "translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    CManagerApp::PrepareProcess();
    QApplication app(argc, argv);
    InstallQtTranslations(&app);
    QApplication::setWindowIcon(ManagerIcon());
    CManagerApp manager;
    manager.InitInstance();
    return 0;
}
