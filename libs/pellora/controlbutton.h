#pragma once

#include "pellora_export.h"

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>

namespace Pellora {

// A shaped button: four state bitmaps (normal, hover, pressed, disabled) or, without
// them, a gradient face; its outline comes from a mask bitmap or a shape style.
class PELLORA_EXPORT CControlButton : public QAbstractButton
{
    Q_OBJECT
public:
    // Shapes: 0 rounded rectangle (5-pixel corners), 1 ellipse, 2 diamond, 3 hexagon,
    // 4 and above octagon.
    enum RgnStyle { RoundRect = 0, Ellipse = 1, Diamond = 2, Hexagon = 3, Octagon = 4 };

    explicit CControlButton(QWidget* parent = nullptr);
    ~CControlButton() override;

    void SetBitmap(const QString& normal, const QString& hover, const QString& press, const QString& disable);
    // The bitmap whose pixels not within `tolerance` of `transparentColorRef` make the
    // button's outline while the mask is in use.
    void SetMaskBitmap(const QString& path, unsigned long transparentColorRef = 0x00ff00ff, int tolerance = 0);
    void SetRgnMask(bool useMask);
    void SetRgnStyle(int style);
    int RgnStyle() const { return m_nRgnStyle; }
    void DoGradientFill(bool on, unsigned long fromColorRef, unsigned long toColorRef);
    void DrawInsideBorder(bool on);
    bool IsHover() const { return m_bHover; }
    // The focus ring is drawn: the button has the focus and the keyboard brought it.
    bool HasFocusCue() const { return m_bFocusCue && hasFocus(); }
    // The box of the focus ring, the button's shape drawn smaller inside it.
    QRect FocusRingRect() const { return rect().adjusted(4, 4, -4, -4); }

    // The button's outline for a size, as applied to the window.
    QRegion ButtonRegion(const QSize& size) const;
    static QRegion ShapeRegion(const QRect& rect, int style);
    static QRegion BitmapToRegion(const QImage& bitmap, unsigned long transparentColorRef, int tolerance);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QPixmap m_bmpNormal;
    QPixmap m_bmpHover;
    QPixmap m_bmpPress;
    QPixmap m_bmpDisable;
    QImage m_maskImage;
    unsigned long m_crMaskTransparent = 0x00ff00ff;
    int m_nMaskTolerance = 0;
    bool m_bUseMask = false;
    int m_nRgnStyle = RoundRect;
    bool m_bGradient = true;
    unsigned long m_crFrom;
    unsigned long m_crTo;
    bool m_bInsideBorder = true;
    bool m_bHover = false;
    bool m_bFocusCue = false;
};

} // namespace Pellora
