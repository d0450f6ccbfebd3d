#include "beautifuldialog.h"

#include "quenlitbitmaps.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace Quenlit {

namespace {

const QColor kTitleBackground(231, 236, 237);
const QColor kClientBackground(227, 239, 243);
const QColor kCaptionText(50, 50, 50);
const QColor kFaceNormal(229, 238, 243);
const QColor kFaceHover(255, 255, 255);
const QColor kFacePressed(255, 255, 197);
const QColor kGrey(128, 128, 128);
const QColor kCloseHover(87, 117, 159);
const QColor kRed(255, 0, 0);

// The band holds the bitmaps from y 1, 24 pixels high; the buttons sit 4 pixels below
// the top of the window frame.
constexpr int kBandTop = 1;
constexpr int kBandHeight = 24;
constexpr int kFrameHeight = 4;
constexpr int kBorderTop = 25;

enum Look { Normal, Hover, Pressed };

} // namespace

BeautifulDialogGeometry LayoutBeautifulDialog(const QSize& window, bool hasClose, bool hasMax, bool hasMin)
{
    const int W = window.width();
    const int H = window.height();
    const int icon = CBeautifulDialog::kSmallIconSize;
    BeautifulDialogGeometry g;
    g.titleBand = QRect(0, 0, W, CBeautifulDialog::kTitleBandHeight);
    g.icon = QRect(8, 6, icon, icon);
    g.caption = QRect(QPoint(icon + 10, 1), QPoint(W - 4 * icon - 3 - 1, 25 - 1));
    if (hasClose) {
        g.closeBox = QRect(W - 25, kFrameHeight + 1, 16, 15);
        g.closeHit = QRect(W - 24, kFrameHeight + 1, 16, 15);
    }
    if (hasMax) {
        const int L = hasClose ? W - 45 : W - 25;
        g.maxBox = QRect(L, 5, 16, 15);
    }
    if (hasMin) {
        const int R = W - 20 * ((hasClose ? 1 : 0) + (hasMax ? 1 : 0));
        g.minBox = QRect(R - 25, 5, 16, 15);
    }
    g.client = QRect(6, kBorderTop, qMax(0, W - 12), qMax(0, H - kBorderTop - 5));
    g.windowArea = QRect(QPoint(2, 1), QPoint(W - 2 - 1, H - 1 - 1));
    return g;
}

TitleButton TitleButtonAt(const BeautifulDialogGeometry& g, const QPoint& p)
{
    if (g.closeHit.contains(p))
        return TitleButton::Close;
    if (g.maxBox.contains(p))
        return TitleButton::Maximize;
    if (g.minBox.contains(p))
        return TitleButton::Minimize;
    return TitleButton::None;
}

CBeautifulDialog::CBeautifulDialog(QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContentsMargins(6, kBorderTop, 6, 5);
}

CBeautifulDialog::~CBeautifulDialog() = default;

void CBeautifulDialog::SetTitleButtons(bool hasClose, bool hasMax, bool hasMin)
{
    m_bHasCloseButton = hasClose;
    m_bHasMaxButton = hasMax;
    m_bHasMinButton = hasMin;
    update(Geometry().titleBand);
}

QIcon CBeautifulDialog::SetIcon(const QIcon& hIcon, bool bBigIcon)
{
    const QIcon previous = windowIcon();
    if (bBigIcon) {
        m_hIcon = hIcon;
        update(Geometry().icon);
    }
    setWindowIcon(hIcon);
    return previous;
}

void CBeautifulDialog::SetWindowTextA(const QString& text)
{
    setWindowTitle(text);
    repaint(Geometry().titleBand);
}

BeautifulDialogGeometry CBeautifulDialog::Geometry() const
{
    return LayoutBeautifulDialog(size(), m_bHasCloseButton, m_bHasMaxButton, m_bHasMinButton);
}

QRect CBeautifulDialog::ClientRect() const
{
    return Geometry().client;
}

void CBeautifulDialog::SetClientSize(const QSize& size)
{
    resize(size.width() + 12, size.height() + kBorderTop + 5);
}

void CBeautifulDialog::PlaceInClient(QWidget* control, const QRect& clientRect)
{
    if (control)
        control->setGeometry(clientRect.translated(ClientRect().topLeft()));
}

QFont CBeautifulDialog::CaptionFont() const
{
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

QString CBeautifulDialog::DisplayedCaption() const
{
    const QRect room = Geometry().caption;
    if (room.width() <= 0)
        return QString();
    return QFontMetrics(CaptionFont()).elidedText(windowTitle(), Qt::ElideRight, room.width());
}

bool CBeautifulDialog::isMouseOnCloseButton(const QPoint& screenPoint) const
{
    return TitleButtonAt(Geometry(), mapFromGlobal(screenPoint)) == TitleButton::Close;
}

bool CBeautifulDialog::isMouseOnMaxButton(const QPoint& screenPoint) const
{
    return TitleButtonAt(Geometry(), mapFromGlobal(screenPoint)) == TitleButton::Maximize;
}

bool CBeautifulDialog::isMouseOnMinButton(const QPoint& screenPoint) const
{
    return TitleButtonAt(Geometry(), mapFromGlobal(screenPoint)) == TitleButton::Minimize;
}

void CBeautifulDialog::DrawTitleBar(QPainter& dc)
{
    const BeautifulDialogGeometry g = Geometry();
    const int W = width();
    // Composed off screen so the band never shows half drawn.
    QImage band(qMax(1, W), kTitleBandHeight, QImage::Format_RGB32);
    band.fill(kTitleBackground);
    {
        QPainter p(&band);
        const QImage middle = LoadQuenlitBitmap(Bitmap::TitleMiddle);
        const QImage left = LoadQuenlitBitmap(Bitmap::TitleLeft);
        const QImage right = LoadQuenlitBitmap(Bitmap::TitleRight);
        p.drawImage(QRect(0, kBandTop, qMax(0, W - 3), kBandHeight), middle);
        p.drawImage(QRect(2, kBandTop, left.width(), kBandHeight), left);
        p.drawImage(QRect(W - right.width() - 3, kBandTop, right.width(), kBandHeight), right);
        DrawTitleIcon(p);
        DrawCaptionText(p);
        if (m_bHasCloseButton)
            DrawNormalCloseButton(p);
        if (m_bHasMaxButton)
            DrawNormalMaxButton(p);
        if (m_bHasMinButton)
            DrawNormalMinButton(p);
    }
    dc.drawImage(g.titleBand.topLeft(), band);
}

void CBeautifulDialog::DrawTitleIcon(QPainter& dc)
{
    if (m_hIcon.isNull())
        return;
    const QRect r = Geometry().icon;
    dc.drawPixmap(r.topLeft(), m_hIcon.pixmap(r.size(), dc.device() ? dc.device()->devicePixelRatioF() : 1.0));
}

void CBeautifulDialog::DrawCaptionText(QPainter& dc)
{
    const QRect room = Geometry().caption;
    if (room.width() <= 0)
        return;
    dc.save();
    dc.setFont(CaptionFont());
    dc.setPen(kCaptionText);
    dc.drawText(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, DisplayedCaption());
    dc.restore();
}

void CBeautifulDialog::DrawNCLeftBorder(QPainter& dc)
{
    const QImage piece = LoadQuenlitBitmap(Bitmap::BorderLeft);
    if (piece.isNull())
        return;
    const int count = (height() + 10) / piece.height();
    for (int i = 0; i < count; ++i)
        dc.drawImage(QPoint(2, kBorderTop + i * piece.height()), piece);
}

void CBeautifulDialog::DrawNcRightBorder(QPainter& dc)
{
    const QImage piece = LoadQuenlitBitmap(Bitmap::BorderRight);
    if (piece.isNull())
        return;
    const int count = (height() - 1) / piece.height();
    for (int i = 0; i < count; ++i)
        dc.drawImage(QPoint(width() - 6, kBorderTop + i * piece.height()), piece);
}

void CBeautifulDialog::DrawNcBottomBorder(QPainter& dc)
{
    const QImage piece = LoadQuenlitBitmap(Bitmap::BorderBottom);
    const QImage leftCorner = LoadQuenlitBitmap(Bitmap::DialogCornerBottomLeft);
    const QImage rightCorner = LoadQuenlitBitmap(Bitmap::DialogCornerBottomRight);
    const int W = width();
    const int H = height();
    if (!piece.isNull()) {
        const int count = (W - 6) / piece.width();
        for (int i = 0; i < count; ++i)
            dc.drawImage(QPoint(i * piece.width(), H - 5), piece);
    }
    const int y = H - 5 - leftCorner.height() + 3;
    dc.drawImage(QPoint(2, y), leftCorner);
    dc.drawImage(QPoint(W - 6, y), rightCorner);
}

void CBeautifulDialog::drawButton(QPainter& dc, TitleButton button, int look)
{
    const BeautifulDialogGeometry g = Geometry();
    QRect box;
    switch (button) {
    case TitleButton::Close: box = g.closeBox; break;
    case TitleButton::Maximize: box = g.maxBox; break;
    case TitleButton::Minimize: box = g.minBox; break;
    case TitleButton::None: return;
    }
    if (box.isNull())
        return;
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, false);
    const QColor face = look == Pressed ? kFacePressed : look == Hover ? kFaceHover : kFaceNormal;
    dc.fillRect(box, face);
    dc.setPen(QPen(kGrey, 1));
    dc.setBrush(Qt::NoBrush);
    dc.drawRect(box.adjusted(0, 0, -1, -1));

    QColor glyph = kGrey;
    if (look == Pressed && button != TitleButton::Maximize)
        glyph = kRed;
    else if (look == Hover && button == TitleButton::Close)
        glyph = kCloseHover;
    dc.setPen(QPen(glyph, 2));
    const int W = width();
    switch (button) {
    case TitleButton::Close:
        dc.drawLine(W - 21, 9, W - 14, 16);
        dc.drawLine(W - 14, 9, W - 21, 16);
        break;
    case TitleButton::Maximize: {
        const int L = box.left();
        dc.drawLine(L + 4, 9, L + 11, 9);
        dc.setPen(QPen(glyph, 1));
        dc.drawRect(QRect(QPoint(L + 4, 9), QPoint(L + 12 - 1, 16 - 1)));
        break;
    }
    case TitleButton::Minimize: {
        const int R = box.left() + 25;
        dc.drawLine(R - 21, 15, R - 14, 15);
        break;
    }
    case TitleButton::None: break;
    }
    dc.restore();
}

void CBeautifulDialog::DrawNormalCloseButton(QPainter& dc) { drawButton(dc, TitleButton::Close, Normal); }
void CBeautifulDialog::DrawHoverCloseButton(QPainter& dc) { drawButton(dc, TitleButton::Close, Hover); }
void CBeautifulDialog::DrawPressCloseButton(QPainter& dc) { drawButton(dc, TitleButton::Close, Pressed); }
void CBeautifulDialog::DrawNormalMaxButton(QPainter& dc) { drawButton(dc, TitleButton::Maximize, Normal); }
void CBeautifulDialog::DrawHoverMaxButton(QPainter& dc) { drawButton(dc, TitleButton::Maximize, Hover); }
void CBeautifulDialog::DrawNormalMinButton(QPainter& dc) { drawButton(dc, TitleButton::Minimize, Normal); }
void CBeautifulDialog::DrawHoverMinButton(QPainter& dc) { drawButton(dc, TitleButton::Minimize, Hover); }
void CBeautifulDialog::DrawPressMinButton(QPainter& dc) { drawButton(dc, TitleButton::Minimize, Pressed); }

void CBeautifulDialog::OnEraseBkgnd(QPainter& dc, const QRect& clientRect)
{
    dc.fillRect(clientRect, kClientBackground);
}

void CBeautifulDialog::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    dc.fillRect(rect(), kTitleBackground);
    DrawTitleBar(dc);
    DrawNCLeftBorder(dc);
    DrawNcRightBorder(dc);
    DrawNcBottomBorder(dc);
    const QRect client = ClientRect();
    dc.save();
    dc.setClipRect(client);
    OnEraseBkgnd(dc, client);
    dc.restore();

    // The title buttons in the look the mouse gives them.
    // A pressed button keeps its pressed look only while the pointer stays on it.
    const bool pressed = m_pressed != TitleButton::None;
    const TitleButton shown = pressed ? (m_hover == m_pressed ? m_pressed : TitleButton::None) : m_hover;
    if (shown == TitleButton::Close && m_bHasCloseButton)
        pressed ? DrawPressCloseButton(dc) : DrawHoverCloseButton(dc);
    else if (shown == TitleButton::Maximize && m_bHasMaxButton)
        DrawHoverMaxButton(dc); // it has no pressed look
    else if (shown == TitleButton::Minimize && m_bHasMinButton)
        pressed ? DrawPressMinButton(dc) : DrawHoverMinButton(dc);
}

void CBeautifulDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    setMask(QRegion(Geometry().windowArea));
    update();
}

void CBeautifulDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange)
        update(Geometry().titleBand);
    else if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        update();
}

void CBeautifulDialog::setHover(TitleButton button)
{
    if (button == m_hover)
        return;
    m_hover = button;
    update(Geometry().titleBand);
}

void CBeautifulDialog::toggleMaximized()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void CBeautifulDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    const BeautifulDialogGeometry g = Geometry();
    const QPoint pos = event->position().toPoint();
    const TitleButton button = TitleButtonAt(g, pos);
    if (button != TitleButton::None) {
        m_pressed = button;
        m_hover = button;
        update(g.titleBand);
        return;
    }
    // Only the band moves the window, and a maximized window stays where it is.
    if (isMaximized() || pos.y() >= kBorderTop || !g.windowArea.contains(pos)) {
        QDialog::mousePressEvent(event);
        return;
    }
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CBeautifulDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    setHover(TitleButtonAt(Geometry(), event->position().toPoint()));
    QDialog::mouseMoveEvent(event);
}

void CBeautifulDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    if (m_dragging) {
        m_dragging = false;
        return;
    }
    const TitleButton pressed = m_pressed;
    m_pressed = TitleButton::None;
    const TitleButton under = TitleButtonAt(Geometry(), event->position().toPoint());
    m_hover = under;
    update(Geometry().titleBand);
    // A title button acts only when the button goes up where it went down.
    if (pressed == TitleButton::None || under != pressed)
        return;
    switch (under) {
    case TitleButton::Close: close(); break;
    case TitleButton::Maximize: toggleMaximized(); break;
    case TitleButton::Minimize: showMinimized(); break;
    case TitleButton::None: break;
    }
}

void CBeautifulDialog::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_bHasMaxButton && pos.y() < kBorderTop
        && TitleButtonAt(Geometry(), pos) == TitleButton::None) {
        toggleMaximized();
        return;
    }
    QDialog::mouseDoubleClickEvent(event);
}

void CBeautifulDialog::leaveEvent(QEvent* event)
{
    setHover(TitleButton::None);
    QDialog::leaveEvent(event);
}

} // namespace Quenlit
