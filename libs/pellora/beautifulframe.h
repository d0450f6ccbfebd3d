#pragma once

#include "pellora_export.h"

#include <QMainWindow>

namespace Pellora {

// The base of the browser's main frame: a top-level window without caption or border,
// so the whole window is the area the browser draws its own bars in.
class PELLORA_EXPORT CBeautifulFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CBeautifulFrame(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~CBeautifulFrame() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace Pellora
