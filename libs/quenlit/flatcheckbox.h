#pragma once

#include "quenlit_export.h"

#include <QAbstractButton>

namespace Quenlit {

struct QUENLIT_EXPORT FlatCheckBoxLayout {
    QRect box;  // the square
    QRect text; // from x 16 to the right edge
};
QUENLIT_EXPORT FlatCheckBoxLayout LayoutFlatCheckBox(const QSize& control);

// The panel's flat check box. It keeps its own checked flag, which a press of the left
// button (or the space key) turns over at once; `clicked` follows on release as usual.
class QUENLIT_EXPORT CFlatCheckBox : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CFlatCheckBox(QWidget* parent = nullptr);
    explicit CFlatCheckBox(const QString& text, QWidget* parent = nullptr);
    ~CFlatCheckBox() override;

    int GetCheck() const { return m_bChecked ? 1 : 0; }
    void SetCheck(int nCheck);
    bool IsHover() const { return m_bHover; }
    // The focus ring is drawn: the box has the focus and the keyboard brought it.
    bool HasFocusCue() const { return m_bFocusCue && hasFocus(); }
    // Where the focus ring is drawn: around the text.
    QRect FocusRingRect() const;

    void DrawItem(QPainter& dc);
    void DrawNormalFace(QPainter& dc, const QRect& rc);
    void DrawHoverFace(QPainter& dc, const QRect& rc);
    void DrawFocusFace(QPainter& dc, const QRect& rc);
    QSize sizeHint() const override;

signals:
    // The checked flag changed, by the user or by SetCheck.
    void CheckChanged(bool checked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void init();
    QFont textFont() const;

    bool m_bChecked = false;
    bool m_bHover = false;
    bool m_bFocusCue = false;
};

} // namespace Quenlit
