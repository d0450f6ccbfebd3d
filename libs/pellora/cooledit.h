#pragma once

#include "pellora_export.h"

#include <QLineEdit>
#include <QPixmap>

namespace Pellora {

// A one-line edit box framed by a three-piece skin bitmap drawn in its border. It is
// never lower than its minimum height (38 pixels unless changed).
class PELLORA_EXPORT CCoolEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CCoolEdit(QWidget* parent = nullptr);
    ~CCoolEdit() override;

    void SetBackgroundBitmap(const QString& left, const QString& middle, const QString& right);
    // COLORREF behind the border bitmap.
    void SetBackColor(unsigned long colorRef);
    void SetBorderWidth(int width);
    // The box is never made lower than this; a lower value leaves the current height
    // until the next size change.
    void SetMinHeight(int height);

    int BorderWidth() const { return m_nBorderWidth; }
    int MinHeight() const { return m_nMinHeight; }
    // The text area inside the border. The border gives up height when the box is too
    // low for a line of text, so typed text always stays visible.
    QRect TextRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateMargins();

    QPixmap m_bmpMiddle;
    QPixmap m_bmpLeft;
    QPixmap m_bmpRight;
    int m_nMinHeight = 38;
    int m_nBorderWidth = 12;
    unsigned long m_crBackColor;
    QColor m_textBackground;
};

} // namespace Pellora
