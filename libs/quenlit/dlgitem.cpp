#include "dlgitem.h"

void SetDlgCtrlID(QWidget* control, int id)
{
    if (control)
        control->setObjectName(QString::number(id));
}

int GetDlgCtrlID(const QWidget* control)
{
    if (!control)
        return 0;
    bool ok = false;
    const int id = control->objectName().toInt(&ok);
    return ok ? id : 0;
}
