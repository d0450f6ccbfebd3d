#include "beautifulframe.h"

namespace Pellora {

CBeautifulFrame::CBeautifulFrame(QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags | Qt::Window | Qt::FramelessWindowHint)
{
}

CBeautifulFrame::~CBeautifulFrame() = default;

void CBeautifulFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The window's shape stays the plain rectangle whatever a subclass did before.
    clearMask();
}

} // namespace Pellora
