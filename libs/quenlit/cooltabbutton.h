#pragma once

#include "quenlit_export.h"

#include <QAbstractButton>
#include <QPointer>

namespace Quenlit {

// Where a page button draws its parts.
struct QUENLIT_EXPORT TabButtonLayout {
    QRect icon;       // the icon, centred near the top
    QRect text;       // one line of text under the icon
    QRect checkFrame; // the white rounded frame of the checked button
    int divisionX;    // the dark line of the division; a white one follows it
};
QUENLIT_EXPORT TabButtonLayout LayoutTabButton(const QSize& button, const QSize& icon, int textHeight);

// A page button of the control panel: icon over text on the panel's band. Exactly one
// page button is checked at a time, remembered for the whole class.
// Pressing a button (mouse or space) checks it at once, before `pressed` is emitted.
class QUENLIT_EXPORT CCoolTabButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CCoolTabButton(QWidget* parent = nullptr);
    ~CCoolTabButton() override;

    // The icon bitmap of the library by id (0: none); red is its transparent colour.
    void SetBmpID(unsigned int nID);
    unsigned int BmpID() const { return m_nBmpID; }
    // A division line at the right separates this button from the next.
    void IsNeedDivision(bool bNeed);
    bool NeedsDivision() const { return m_bDivision; }

    // Makes this button the checked one and repaints the one checked before.
    void SetCheck();
    bool IsChecked() const;
    // The checked page button, null when none is.
    static CCoolTabButton* CheckedButton() { return m_pChecked; }
    // The focus ring is drawn: the button has the focus and the keyboard brought it.
    bool HasFocusCue() const { return m_bFocusCue && hasFocus(); }
    // Where the focus ring is drawn: just inside the checked button's white frame.
    QRect FocusRingRect() const;

    void DrawItem(QPainter& dc);
    void DrawButton(QPainter& dc, const QRect& rc);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    static QPointer<CCoolTabButton> m_pChecked;
    unsigned int m_nBmpID = 0;
    bool m_bDivision = true;
    bool m_bFocusCue = false;
};

} // namespace Quenlit
