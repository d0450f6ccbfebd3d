#include "coolcombobox.h"

#include "colorref.h"
#include "skinpaint.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

namespace Pellora {

namespace {

constexpr int kBackgroundInset = 10;
constexpr int kCornerEllipse = 5;

bool isEnterKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The list's rows: 20 pixels high; the selected row on a pale blue with a slate edge
// and red text, rows of a disabled box greyed.
class ComboItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), CCoolComoBox::kItemHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        QColor text;
        if (!(option.state & QStyle::State_Enabled)) {
            painter->fillRect(r, QColor(192, 192, 192));
            text = QColor(160, 160, 160);
        } else if (option.state & QStyle::State_Selected) {
            painter->fillRect(r, QColor(231, 241, 245));
            painter->setPen(QColor(107, 141, 162));
            painter->drawRect(r.adjusted(0, 0, -1, -1));
            text = Qt::red;
        } else {
            painter->fillRect(r, option.palette.color(QPalette::Base));
            text = option.palette.color(QPalette::Text);
        }
        const QRect textRect = r.adjusted(3, 0, -3, 0);
        const QString caption = index.data(Qt::DisplayRole).toString();
        painter->setPen(text);
        painter->setFont(option.font);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(caption, Qt::ElideRight, textRect.width()));
    }
};

} // namespace

CCoolComoBox::CCoolComoBox(QWidget* parent)
    : QComboBox(parent)
    , m_crBackGround(MakeColorRef(255, 255, 255))
    , m_crBackColor(MakeColorRef(242, 242, 242))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setItemDelegate(new ComboItemDelegate(this));
    watchLineEdit();
    SetFontSize(m_nFontSize);
    SetComboHeight(m_nComboHeight);
    SetBackGround(m_crBackGround);
    ResizeEdit();
}

CCoolComoBox::~CCoolComoBox() = default;

void CCoolComoBox::watchLineEdit()
{
    if (QLineEdit* edit = lineEdit()) {
        edit->installEventFilter(this);
        edit->setFrame(false);
    }
}

void CCoolComoBox::watchCompletionList()
{
    // The completer hears the list's keys first unless this filter comes after its own.
    QLineEdit* edit = lineEdit();
    QAbstractItemView* list = edit && edit->completer() ? edit->completer()->popup() : nullptr;
    if (list == m_pWatchedList)
        return;
    if (m_pWatchedList)
        m_pWatchedList->removeEventFilter(this);
    m_pWatchedList = list;
    if (list)
        list->installEventFilter(this);
}

void CCoolComoBox::SetBackgroundBitmap(const QString& left, const QString& middle, const QString& right)
{
    m_bmpLeft = LoadSkinBitmap(left);
    m_bmpMiddle = LoadSkinBitmap(middle);
    m_bmpRight = LoadSkinBitmap(right);
    update();
}

int CCoolComoBox::SetPushButtonBitmap(const QString& normal, const QString& press)
{
    m_bmpButtonNormal = LoadSkinBitmap(normal);
    m_bmpButtonPress = LoadSkinBitmap(press);
    update();
    return !m_bmpButtonNormal.isNull() && !m_bmpButtonPress.isNull() ? 1 : 0;
}

void CCoolComoBox::SetBackColor(unsigned long colorRef)
{
    m_crBackColor = colorRef;
    update();
}

void CCoolComoBox::SetBackGround(unsigned long colorRef)
{
    m_crBackGround = colorRef;
    if (QLineEdit* edit = lineEdit()) {
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, ColorRefToQColor(colorRef));
        edit->setPalette(pal);
    }
    update();
}

void CCoolComoBox::SetComboHeight(int height)
{
    m_nComboHeight = qMax(1, height);
    setFixedHeight(m_nComboHeight);
    ResizeEdit();
}

void CCoolComoBox::SetFontSize(int points)
{
    m_nFontSize = qMax(1, points);
    QFont f(QStringLiteral("宋体"));
    f.setPointSize(m_nFontSize);
    f.setWeight(QFont::Normal);
    setFont(f);
    view()->setFont(f);
    update();
}

void CCoolComoBox::SetDropListHeight(int height)
{
    setMaxVisibleItems(qMax(1, (height - m_nComboHeight) / kItemHeight));
}

QRect CCoolComoBox::GetEditRect() const
{
    return QRect(10, 12, qMax(0, width() - 39), qMax(0, height() - 19));
}

QRect CCoolComoBox::GetPushButtonRect() const
{
    return QRect(width() - 28, 7, 22, qMax(0, height() - 14));
}

void CCoolComoBox::ResizeEdit()
{
    if (QLineEdit* edit = lineEdit()) {
        if (edit->geometry() != GetEditRect())
            edit->setGeometry(GetEditRect());
    }
}

void CCoolComoBox::DrawBackGround(QPainter& painter) const
{
    painter.fillRect(rect(), ColorRefToQColor(m_crBackColor));
    DrawThreePiece(painter, rect(), kBackgroundInset, m_bmpLeft, m_bmpMiddle, m_bmpRight);
}

void CCoolComoBox::drawPushButton(QPainter& painter, const QPixmap& face) const
{
    const QRect r = GetPushButtonRect();
    if (!face.isNull()) {
        painter.drawPixmap(r, face);
        return;
    }
    // Without its picture the drop button is still a visible, clickable arrow.
    const QPointF c = QRectF(r).center();
    const qreal s = qMin(r.width(), r.height()) / 4.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(m_bPressed ? QPalette::Highlight : QPalette::WindowText));
    painter.drawPolygon(QPolygonF() << QPointF(c.x() - s, c.y() - s / 2) << QPointF(c.x() + s, c.y() - s / 2)
                                    << QPointF(c.x(), c.y() + s / 2));
    painter.restore();
}

void CCoolComoBox::DrawNormalPrushButton(QPainter& painter) const
{
    drawPushButton(painter, m_bmpButtonNormal);
}

void CCoolComoBox::DrawPressPrushButton(QPainter& painter) const
{
    drawPushButton(painter, m_bmpButtonPress);
}

void CCoolComoBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawBackGround(painter);
    const QRect edit = GetEditRect();
    painter.fillRect(edit, ColorRefToQColor(m_crBackGround));
    if (!isEditable()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        painter.drawText(edit.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         fontMetrics().elidedText(currentText(), Qt::ElideRight, edit.width() - 2));
    }
    if (m_bPressed)
        DrawPressPrushButton(painter);
    else
        DrawNormalPrushButton(painter);
}

void CCoolComoBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    setMask(RoundRectRegion(rect(), kCornerEllipse, kCornerEllipse));
    ResizeEdit();
}

void CCoolComoBox::showEvent(QShowEvent* event)
{
    QComboBox::showEvent(event);
    ResizeEdit();
}

bool CCoolComoBox::event(QEvent* event)
{
    // The box takes the focus for its field: a click that brings it in selects the text
    // once the button is let go (see the field's filter below).
    if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
        m_bSelectOnRelease = true;
    else if (event->type() == QEvent::FocusOut)
        m_bSelectOnRelease = false;
    // The field's keys may come through the box: its completion list is watched either way.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::KeyPress)
        watchCompletionList();
    // A field given later (setEditable, setLineEdit) gets the same Enter handling.
    if (event->type() == QEvent::ChildAdded) {
        if (auto* edit = qobject_cast<QLineEdit*>(static_cast<QChildEvent*>(event)->child()))
            edit->installEventFilter(this);
    }
    return QComboBox::event(event);
}

bool CCoolComoBox::eventFilter(QObject* watched, QEvent* event)
{
    // The field's completion list: Enter on a chosen entry puts it into the field and
    // reports it like a typed address; the list never stays over the page.
    QLineEdit* edit = lineEdit();
    if (edit && edit->completer() && watched == edit->completer()->popup() && event->type() == QEvent::KeyPress
        && isEnterKey(static_cast<QKeyEvent*>(event))) {
        QAbstractItemView* list = edit->completer()->popup();
        const QModelIndex chosen = list->currentIndex();
        if (chosen.isValid())
            edit->setText(chosen.data(edit->completer()->completionRole()).toString());
        list->hide();
        emit addressEntered();
        return true;
    }
    if (watched == edit) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::KeyPress)
            watchCompletionList();
        if (event->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(event))) {
            if (edit->completer() && edit->completer()->popup())
                edit->completer()->popup()->hide();
            emit addressEntered();
            return true;
        }
        // A click into the field selects its whole text, so what is typed replaces it;
        // a drag that selects part of it is left alone.
        if (event->type() == QEvent::MouseButtonRelease && m_bSelectOnRelease) {
            m_bSelectOnRelease = false;
            if (!edit->hasSelectedText())
                edit->selectAll();
        }
        // The base class places its field where the platform style wants it; keep ours.
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            ResizeEdit();
    }
    return QComboBox::eventFilter(watched, event);
}

void CCoolComoBox::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event) && !view()->isVisible()) {
        emit addressEntered();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CCoolComoBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && GetPushButtonRect().contains(event->position().toPoint())) {
        m_bPressed = true;
        repaint();
        if (count() > 0)
            showPopup();
        event->accept();
        return;
    }
    if (isEditable()) {
        // The skinned frame around the field is not a second drop button.
        lineEdit()->setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QComboBox::mousePressEvent(event);
}

void CCoolComoBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bPressed) {
        m_bPressed = false;
        update();
    }
    if (m_bSelectOnRelease && isEditable()) {
        m_bSelectOnRelease = false;
        lineEdit()->selectAll();
    }
    QComboBox::mouseReleaseEvent(event);
}

void CCoolComoBox::leaveEvent(QEvent* event)
{
    if (m_bPressed && !view()->isVisible()) {
        m_bPressed = false;
        update();
    }
    QComboBox::leaveEvent(event);
}

void CCoolComoBox::hidePopup()
{
    QComboBox::hidePopup();
    m_bPressed = false;
    update();
}

} // namespace Pellora
