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

    static QString MakerLine();
    QLabel* m_staticMaker;

    // Where the maker's line goes in a page of the given size: it keeps the place it has
    // on the page's own 372 x 305 layout, scaled to the page, and is as wide as its text.
    static QRect MakerLineRect(const QSize& page, const QSize& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
};
