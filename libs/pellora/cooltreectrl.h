#pragma once

#include "pellora_export.h"

#include <QTreeWidget>

namespace Pellora {

// The tree of the browser's side bar: a plain tree on a white base. Qt paints item
// views double-buffered, so expanding a large branch does not flash.
class PELLORA_EXPORT CCoolTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CCoolTreeCtrl(QWidget* parent = nullptr);
    ~CCoolTreeCtrl() override;
};

} // namespace Pellora
