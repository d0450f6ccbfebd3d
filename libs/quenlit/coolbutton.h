#pragma once

#include "quenlit_export.h"

#include <QPushButton>

namespace Quenlit {

// The panel's push button: a rounded, bitmap-faced button with a hover and a pressed look
// and the hand cursor. It never acts on Enter by itself; the dialogs decide what Enter does.
class QUENLIT_EXPORT CCoolButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CCoolButton(QWidget* parent = nullptr);
    explicit CCoolButton(const QString& text, QWidget* parent = nullptr);
    ~CCoolButton() override;

    // Keeps the pressed look on while set (a button that stands for a state that is on).
    void SetPressFlag(bool bPress);
    bool PressFlag() const { return m_bPress; }
    bool IsHover() const { return m_bHover; }
    // The focus ring is drawn: the button has the focus and the keyboard brought it.
    bool HasFocusCue() const { return m_bFocusCue && hasFocus(); }
    // Where the focus ring is drawn, inside the button's frame.
    QRect FocusRingRect() const { return rect().adjusted(3, 3, -3, -3); }

    void DrawItem(QPainter& dc);
    void DrawNormalFace(QPainter& dc, const QRect& rc);
    void DrawFocusFace(QPainter& dc, const QRect& rc);
    void DrawSelectedFace(QPainter& dc, const QRect& rc);
    void DrawPressFace(QPainter& dc, const QRect& rc);
    void DrawDisabledFace(QPainter& dc, const QRect& rc);
    void DrawButtonFrame(QPainter& dc, const QRect& rc);
    void DrawButtonSelectFrame(QPainter& dc, const QRect& rc);
    void DrawButtonText(QPainter& dc, const QRect& rc);
    void DrawButtonDisabledText(QPainter& dc, const QRect& rc);
    void DrawPressButtonText(QPainter& dc, const QRect& rc);

    void OnMouseIn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void init();
    void drawFace(QPainter& dc, const QRect& rc, int firstBitmap);
    void drawFrame(QPainter& dc, const QRect& rc, const QColor& colour);
    void drawText(QPainter& dc, const QRect& rc, const QColor& colour);
    void drawHoverFace(QPainter& dc, const QRect& rc);

    bool m_bHover = false;
    bool m_bPress = false;
    bool m_bFocusCue = false;
};

} // namespace Quenlit
