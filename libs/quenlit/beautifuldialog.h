#pragma once

#include "quenlit_export.h"

#include <QDialog>
#include <QIcon>
#include <QPixmap>

namespace Quenlit {

// Where everything of the skinned dialog lies, in window coordinates, for a window of
// the given size. Painting and hit-testing both read it.
struct QUENLIT_EXPORT BeautifulDialogGeometry {
    QRect titleBand;  // the band drawn off screen and copied to the top
    QRect icon;       // the small icon
    QRect caption;    // room for the caption text
    QRect closeBox;   // null when the button is off
    QRect closeHit;   // the close button reacts a pixel to the right of its box
    QRect maxBox;
    QRect minBox;
    QRect client;     // inside the borders, under the band
    QRect windowArea; // what stays of the window once its edges are trimmed
};

enum class TitleButton { None, Close, Maximize, Minimize };

QUENLIT_EXPORT BeautifulDialogGeometry LayoutBeautifulDialog(const QSize& window, bool hasClose, bool hasMax,
                                                             bool hasMin);
// The title button under `point` (window coordinates).
QUENLIT_EXPORT TitleButton TitleButtonAt(const BeautifulDialogGeometry& geometry, const QPoint& point);

// The base of every dialog of the control panel: it draws its own title band, icon,
// caption, title buttons and borders, trims the window's edges and fills the client
// area with a light colour. Subclasses place their controls in client coordinates
// (PlaceInClient) and size the window by its client area (SetClientSize).
class QUENLIT_EXPORT CBeautifulDialog : public QDialog
{
    Q_OBJECT

public:
    // The close button is on; maximize and minimize are off until SetTitleButtons.
    explicit CBeautifulDialog(QWidget* pParent = nullptr);
    ~CBeautifulDialog() override;

    static constexpr int kTitleBandHeight = 29;
    static constexpr int kSmallIconSize = 16;

    bool m_bHasMaxButton = false;
    bool m_bHasMinButton = false;
    bool m_bHasCloseButton = true;
    QIcon m_hIcon; // drawn in the title band

    void SetTitleButtons(bool hasClose, bool hasMax, bool hasMin);
    // A big icon is also the one drawn in the title band; returns the previous icon.
    QIcon SetIcon(const QIcon& hIcon, bool bBigIcon);
    // Sets the caption and repaints the title band at once.
    void SetWindowTextA(const QString& text);

    BeautifulDialogGeometry Geometry() const;
    QRect ClientRect() const; // in window coordinates
    void SetClientSize(const QSize& size);
    void PlaceInClient(QWidget* control, const QRect& clientRect);
    // The caption as drawn: cut with an ellipsis when it does not fit before the buttons.
    QString DisplayedCaption() const;
    QFont CaptionFont() const;

    // Screen points, as the hit tests of a window are asked.
    bool isMouseOnCloseButton(const QPoint& screenPoint) const;
    bool isMouseOnMaxButton(const QPoint& screenPoint) const;
    bool isMouseOnMinButton(const QPoint& screenPoint) const;

    TitleButton HoverButton() const { return m_hover; }
    TitleButton PressedButton() const { return m_pressed; }
    bool IsDragging() const { return m_dragging; }

    void DrawTitleBar(QPainter& dc);
    void DrawTitleIcon(QPainter& dc);
    void DrawCaptionText(QPainter& dc);
    void DrawNCLeftBorder(QPainter& dc);
    void DrawNcRightBorder(QPainter& dc);
    void DrawNcBottomBorder(QPainter& dc);
    void DrawNormalCloseButton(QPainter& dc);
    void DrawHoverCloseButton(QPainter& dc);
    void DrawPressCloseButton(QPainter& dc);
    void DrawNormalMaxButton(QPainter& dc);
    void DrawHoverMaxButton(QPainter& dc);
    void DrawNormalMinButton(QPainter& dc);
    void DrawHoverMinButton(QPainter& dc);
    void DrawPressMinButton(QPainter& dc);

protected:
    // Fills the client area; the default is the dialogs' light blue.
    virtual void OnEraseBkgnd(QPainter& dc, const QRect& clientRect);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void drawButton(QPainter& dc, TitleButton button, int look);
    void setHover(TitleButton button);
    void toggleMaximized();

    TitleButton m_hover = TitleButton::None;
    TitleButton m_pressed = TitleButton::None;
    bool m_dragging = false;
    QPoint m_dragOffset;
};

} // namespace Quenlit
