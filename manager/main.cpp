#include "managerapp.h"
#include "managerart.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    CManagerApp::PrepareProcess();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ManagerIcon());
    CManagerApp manager;
    manager.InitInstance();
    return 0;
}
