#pragma once

#include "panelpage.h"

class QLabel;

// The control panel's last page: who made the software.
class CAboutPropage : public CPanelPage
{
    Q_OBJECT

public:
    explicit CAboutPropage(QWidget* parent);
    ~CAboutPropage() override;

    // The maker's name and the program's version.
    static QString MakerLine();
    static QString Version();
    QLabel* m_staticMaker;

    // Where the maker's line goes in a page of the given size: its top-left corner keeps the
    // place it has on the page's own 372 x 305 layout, scaled to the page, and it is at least
    // as wide as its text.
    static QRect MakerLineRect(const QSize& page, const QSize& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
};
