#pragma once

#include "quenlit_export.h"

#include <QWidget>

// Dialog controls are known by their number, kept as the widget's object name so that
// callers and tests find them the same way.
QUENLIT_EXPORT void SetDlgCtrlID(QWidget* control, int id);
// The control's number, or 0 when it has none.
QUENLIT_EXPORT int GetDlgCtrlID(const QWidget* control);

// The direct child of `parent` with that number, of the given type; null when there is none.
template <class T>
T* GetDlgItem(const QWidget* parent, int id)
{
    return parent ? parent->findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly) : nullptr;
}
