#include "cooltreectrl.h"

#include <QPalette>

namespace Pellora {

CCoolTreeCtrl::CCoolTreeCtrl(QWidget* parent)
    : QTreeWidget(parent)
{
    // The tree shows on white whatever the skin or the desktop's colour scheme.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    viewport()->setAutoFillBackground(true);
    // A tree control has no column header.
    setHeaderHidden(true);
}

CCoolTreeCtrl::~CCoolTreeCtrl() = default;

} // namespace Pellora
