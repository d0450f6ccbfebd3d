#pragma once

#include <QWidget>

// The common ground of the control panel's pages: a white rounded card with a thin green
// edge over the panel's colour. Static texts on a page are black on white.
class CPanelPage : public QWidget
{
    Q_OBJECT

public:
    CPanelPage(int templateId, QWidget* parent);
    ~CPanelPage() override;

    int TemplateId() const { return m_templateId; }

    // The card's outline: the page less one pixel at the right and the bottom.
    static QRect CardRect(const QSize& page);
    static QColor CardBorderColor() { return QColor(0, 141, 66); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_templateId;
};
