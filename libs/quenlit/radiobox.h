#pragma once

#include "quenlit_export.h"

#include <QAbstractButton>
#include <QList>
#include <QPair>

namespace Quenlit {

// The group of the control at `index` among its siblings, given which siblings start a
// group: from the nearest group start at or before it (or the first sibling) up to the
// next group start. Returns [first, end).
QUENLIT_EXPORT QPair<int, int> DialogGroupRange(const QList<bool>& groupStarts, int index);

// The panel's radio button. Checking it clears the other radio buttons of its group (the
// siblings from the last one marked as a group start to the next one, as in a dialog), and
// every change of its check state is announced with CheckChanged so the parent can follow.
class QUENLIT_EXPORT CRadioBox : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CRadioBox(QWidget* parent = nullptr);
    explicit CRadioBox(const QString& text, QWidget* parent = nullptr);
    ~CRadioBox() override;

    int GetCheck() const { return m_bChecked ? 1 : 0; }
    // Sets the check state; checking also clears the others of the group. Returns the
    // state before.
    int SetCheck(int nCheck, bool bRedraw = true);
    void UncheckOtherRadios();
    // Marks this control as the first of a new group (any sibling widget may carry the mark).
    static void SetGroupStart(QWidget* control, bool start = true);
    static bool IsGroupStart(const QWidget* control);
    bool IsHover() const { return m_bHover; }
    // The focus ring is drawn: the button has the focus and the keyboard brought it.
    bool HasFocusCue() const { return m_bFocusCue && hasFocus(); }
    // Where the focus ring is drawn: around the text.
    QRect FocusRingRect() const;

    void DrawItem(QPainter& dc);
    void DrawNormalFace(QPainter& dc, const QRect& rc);
    void DrawHoverFace(QPainter& dc, const QRect& rc);
    void DrawCheckFace(QPainter& dc, const QRect& rc);
    void DrawDisableFace(QPainter& dc, const QRect& rc);
    void DrawFocusFace(QPainter& dc, const QRect& rc);
    QSize sizeHint() const override;

signals:
    void CheckChanged(int nCheck);

public slots:
    void OnClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void init();
    void drawFace(QPainter& dc, const QRect& rc, const QImage& bitmap, const QColor& textColor);

    bool m_bChecked = false;
    bool m_bHover = false;
    bool m_bFocusCue = false;
};

} // namespace Quenlit
