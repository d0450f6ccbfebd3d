#pragma once

#include "pellora_export.h"

#include <QPixmap>
#include <QPushButton>

class QPainter;

namespace Pellora {

// A push button drawn from three-piece skin bitmaps: the normal face, the hover face
// over it while the mouse is on the button, the pressed face over that while it is
// held down. The caption stays centred in every look.
class PELLORA_EXPORT CCoolButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CCoolButton(QWidget* parent = nullptr);
    explicit CCoolButton(const QString& text, QWidget* parent = nullptr);
    ~CCoolButton() override;

    // Each setter loads a face (left cap, middle, right cap) from files, replacing the
    // earlier one; a picture that cannot be loaded is left out of the face.
    void SetNormalBitmap(const QString& left, const QString& middle, const QString& right);
    void SetHoverBitmap(const QString& left, const QString& middle, const QString& right);
    void SetPressBitmap(const QString& left, const QString& middle, const QString& right);
    // COLORREF shown where the face bitmaps are transparent; RGB(242, 242, 242) at first.
    void SetBackColor(unsigned long colorRef);

    bool IsHover() const { return m_bHover; }
    // The focus ring is drawn: the button has the focus and the keyboard brought it.
    bool HasFocusCue() const { return m_bFocusCue && hasFocus(); }
    // Where the focus ring is drawn, inside the face.
    QRect FocusRingRect() const { return rect().adjusted(4, 4, -4, -4); }

protected:
    void DrawNormalFace(QPainter& painter) const;
    void DrawHoverFace(QPainter& painter) const;
    void DrawPressFace(QPainter& painter) const;
    void DrawButtonText(QPainter& painter) const;
    void DrawFocusFace(QPainter& painter) const;

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void drawFace(QPainter& painter, const QPixmap* face) const;
    void OnMouseIn();

    bool m_bHover = false;
    bool m_bFocusCue = false;
    unsigned long m_crBackColor;
    QPixmap m_bmpHover[3];
    QPixmap m_bmpNormal[3];
    QPixmap m_bmpPress[3];
};

} // namespace Pellora
