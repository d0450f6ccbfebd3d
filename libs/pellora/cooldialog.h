#pragma once

#include "pellora_export.h"

#include <QDialog>
#include <QPixmap>
#include <QPoint>

class QPainter;

namespace Pellora {

// Where the parts of a skinned dialog go, in window coordinates: the side borders run
// the full height, the title band and the bottom border the full width; the client
// area is what the borders leave.
struct CoolDialogFrame {
    QRect left;
    QRect right;
    QRect title;
    QRect bottom;
    QRect client;
};
PELLORA_EXPORT CoolDialogFrame LayoutCoolDialogFrame(const QSize& size, int titleHeight, int borderWidth);
// True where a press may drag the dialog: anywhere but the 30 x 30 square at its
// top-left corner (controls take their own clicks before this is asked).
PELLORA_EXPORT bool IsCoolDialogDragSpot(const QPoint& pos);

// The base of the browser's skinned dialogs: a borderless dialog with rounded corners
// whose 15-pixel title band, side borders and bottom border are drawn from skin
// bitmaps over one solid background colour, and which can be dragged by any free spot.
// Content laid out in the dialog stays inside the borders (the contents margins).
class PELLORA_EXPORT CCoolDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CCoolDialog(QWidget* parent = nullptr);
    ~CCoolDialog() override;

    // COLORREF of the client area and of the borders behind their bitmaps.
    void SetBackColor(unsigned long colorRef);
    unsigned long BackColor() const { return m_crBackColor; }

    // Each setter loads its pictures from files, replacing the earlier ones; a picture
    // that cannot be loaded leaves its part showing the background colour.
    void SetBmpTitleBitmap(const QString& left, const QString& middle, const QString& right);
    void SetDialogBorderLeft(const QString& path);
    void SetDialogBorderRight(const QString& path);
    void SetDialogBottomBorderBmp(const QString& left, const QString& middle, const QString& right);

    int TitleHeight() const { return m_nTitleHeight; }
    int BorderWidth() const { return m_nBorderWidth; }
    CoolDialogFrame FrameLayout() const;

protected:
    void DrawTitleBar(QPainter& painter, const QRect& rect) const;
    void DrawLeftBorder(QPainter& painter, const QRect& rect) const;
    void DrawRightBorder(QPainter& painter, const QRect& rect) const;
    void DrawBottomBorder(QPainter& painter, const QRect& rect) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyBackColor();

    unsigned long m_crBackColor;
    int m_nTitleHeight = 15;
    int m_nBorderWidth = 15;
    QPixmap m_bmpTitleMiddle;
    QPixmap m_bmpTitleLeft;
    QPixmap m_bmpTitleRight;
    QPixmap m_bmpBorderLeft;
    QPixmap m_bmpBorderRight;
    QPixmap m_bmpBottomMiddle;
    QPixmap m_bmpBottomLeft;
    QPixmap m_bmpBottomRight;

    bool m_bDragging = false;
    QPoint m_dragOffset; // from the window's top-left corner to the pressed point
};

} // namespace Pellora
