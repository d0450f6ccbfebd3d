#pragma once

#include "pellora_export.h"

#include <QComboBox>
#include <QPixmap>
#include <QPointer>

class QAbstractItemView;

namespace Pellora {

// An editable combo box (the address box, the favourites' category box) drawn over a
// three-piece skin background with a bitmap drop button. Enter is not taken as input:
// it is reported with addressEntered() and nothing is inserted into the list.
class PELLORA_EXPORT CCoolComoBox : public QComboBox
{
    Q_OBJECT
public:
    static constexpr int kItemHeight = 20;

    explicit CCoolComoBox(QWidget* parent = nullptr);
    ~CCoolComoBox() override;

    void SetBackgroundBitmap(const QString& left, const QString& middle, const QString& right);
    // Non-zero when both pictures could be loaded.
    int SetPushButtonBitmap(const QString& normal, const QString& press);
    // COLORREF behind the background bitmaps.
    void SetBackColor(unsigned long colorRef);
    // COLORREF of the text field; white at first.
    void SetBackGround(unsigned long colorRef);
    // Height of the selection field (32 at first).
    void SetComboHeight(int height);
    // A normal-weight font of the face "宋体" (or its stand-in), in points.
    void SetFontSize(int points);
    // Height in pixels the field and its open list may take together.
    void SetDropListHeight(int height);

    QRect GetEditRect() const;
    QRect GetPushButtonRect() const;
    void ResizeEdit();
    bool IsPressed() const { return m_bPressed; }

    void hidePopup() override;

signals:
    // Enter was pressed in the box (the owner reads the text and acts on it).
    void addressEntered();

protected:
    void DrawBackGround(QPainter& painter) const;
    void DrawNormalPrushButton(QPainter& painter) const;
    void DrawPressPrushButton(QPainter& painter) const;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void drawPushButton(QPainter& painter, const QPixmap& face) const;
    void watchLineEdit();
    void watchCompletionList();

    bool m_bPressed = false;
    bool m_bSelectOnRelease = false;
    QPointer<QAbstractItemView> m_pWatchedList;
    unsigned long m_crBackGround;
    int m_nComboHeight = 32;
    int m_nFontSize = 9;
    unsigned long m_crBackColor;
    QPixmap m_bmpButtonNormal;
    QPixmap m_bmpButtonPress;
    QPixmap m_bmpLeft;
    QPixmap m_bmpMiddle;
    QPixmap m_bmpRight;
};

} // namespace Pellora
