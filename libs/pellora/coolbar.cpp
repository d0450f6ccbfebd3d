#include "coolbar.h"

#include "colorref.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>

namespace Pellora {

namespace {

constexpr int kBandMargin = 1; // between the band and the bar's edge
constexpr int kLineThickness = 3;
constexpr int kLineGap = 1;
constexpr int kLineEndGap = 3;

void draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    const int right = r.left() + r.width() - 1;
    const int bottom = r.top() + r.height() - 1;
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), right - 1, r.top());
    painter.drawLine(r.left(), r.top(), r.left(), bottom - 1);
    painter.setPen(bottomRight);
    painter.drawLine(right, r.top(), right, bottom);
    painter.drawLine(r.left(), bottom, right, bottom);
}

} // namespace

void CSCBButton::Paint(QPainter& painter) const
{
    const QPalette pal = QGuiApplication::palette();
    const QRect r = GetRect();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_bPushed)
        draw3dRect(painter, r, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    else if (m_bRaised)
        draw3dRect(painter, r, pal.color(QPalette::Light), pal.color(QPalette::Dark));

    // The cross of a 6-point symbol glyph at the screen's resolution (8 pixels at 96 dpi),
    // nudged like a pressed button's face while pushed.
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    const int glyph = qBound(5, qRound(6.0 * dpi / 72.0), kSize - 4);
    const int arm = glyph - 1 - (glyph % 2 == 0 ? 0 : 1); // odd, so the strokes cross on a pixel
    const int shift = m_bPushed ? 1 : 0;
    const int x0 = r.left() + (kSize - arm) / 2 + shift;
    const int y0 = r.top() + (kSize - arm) / 2 + shift;
    painter.setPen(QPen(pal.color(QPalette::ButtonText), 1));
    for (int d = 0; d < 2; ++d) {
        // Two pixels thick, as the glyph's strokes are.
        painter.drawLine(x0 + d, y0, x0 + arm - 1, y0 + arm - 1 - d);
        painter.drawLine(x0 + arm - 1 - d, y0, x0, y0 + arm - 1 - d);
    }
    painter.restore();
}

// The band along a bar's edge: the dock's title bar. It paints the grip lines and the
// close button and handles clicks on the button; every other click goes on to the
// dock, which drags the bar from here.
class CCoolBarGripper : public QWidget
{
public:
    explicit CCoolBarGripper(CCoolBar* bar)
        : QWidget(bar)
        , m_pBar(bar)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    CSCBButton m_btnClose;

    int depth() const { return m_pBar->m_nGripperDepth + 2 * kBandMargin; }
    bool horizontal() const { return width() >= height(); }

    QSize sizeHint() const override { return QSize(depth(), depth()); }
    QSize minimumSizeHint() const override { return sizeHint(); }

    void placeButton()
    {
        // At the far end of a band along the top, at the top of a band along the left.
        if (horizontal())
            m_btnClose.Move(QPoint(width() - CSCBButton::kSize - kBandMargin - 1, kBandMargin));
        else
            m_btnClose.Move(QPoint(kBandMargin, kBandMargin + 1));
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        placeButton();
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ColorRefToQColor(m_pBar->m_crBackColor));
        if (m_pBar->HasGripper())
            paintGrip(painter);
        m_btnClose.Paint(painter);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && m_btnClose.GetRect().contains(event->position().toPoint())) {
            m_bTracking = true;
            m_btnClose.m_bPushed = true;
            update();
            event->accept();
            return;
        }
        event->ignore();
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        const bool over = m_btnClose.GetRect().contains(event->position().toPoint());
        const bool pushed = m_bTracking && over;
        if (over != m_btnClose.m_bRaised || pushed != m_btnClose.m_bPushed) {
            m_btnClose.m_bRaised = over;
            m_btnClose.m_bPushed = pushed;
            update();
        }
        if (m_bTracking)
            event->accept();
        else
            event->ignore();
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (!m_bTracking || event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        m_bTracking = false;
        m_btnClose.m_bPushed = false;
        update();
        event->accept();
        if (m_btnClose.GetRect().contains(event->position().toPoint())) {
            m_pBar->OnCoolBarClose();
            emit m_pBar->closedByButton();
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        // A quick second click on the close button is not a request to float the bar.
        if (m_btnClose.GetRect().contains(event->position().toPoint()))
            event->accept();
        else
            event->ignore();
    }

    void leaveEvent(QEvent* event) override
    {
        m_btnClose.m_bRaised = false;
        if (!m_bTracking)
            m_btnClose.m_bPushed = false;
        update();
        QWidget::leaveEvent(event);
    }

private:
    void paintGrip(QPainter& painter)
    {
        const QPalette& pal = palette();
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Dark);
        const QRect button = m_btnClose.GetRect();
        const int band = m_pBar->m_nGripperDepth;
        const int first = kBandMargin + (band - 2 * kLineThickness - kLineGap) / 2;
        for (int i = 0; i < 2; ++i) {
            const int across = first + i * (kLineThickness + kLineGap);
            QRect line;
            if (horizontal()) {
                const int end = button.left() - kLineEndGap;
                line = QRect(kLineEndGap, across, end - kLineEndGap, kLineThickness);
            } else {
                const int start = button.top() + button.height() + kLineEndGap;
                line = QRect(across, start, kLineThickness, height() - kLineEndGap - start);
            }
            if (line.width() > 1 && line.height() > 1)
                draw3dRect(painter, line, light, dark);
        }
    }

    CCoolBar* m_pBar;
    bool m_bTracking = false;
};

CCoolBar::CCoolBar(QWidget* parent)
    : CSizingControlBar(parent)
    , m_crBackColor(MakeColorRef(38, 89, 140))
{
    m_pGripper = new CCoolBarGripper(this);
    setTitleBarWidget(m_pGripper);
    setAutoFillBackground(true);
    SetBackColor(m_crBackColor);
}

CCoolBar::~CCoolBar() = default;

bool CCoolBar::Create(const QString& title, QMainWindow* parent, const QSize& sizeDefault, bool hasGripper, int barId)
{
    m_hNotify = parent;
    return CSizingControlBar::Create(title, parent, sizeDefault, hasGripper, barId);
}

void CCoolBar::SetBackColor(unsigned long colorRef)
{
    m_crBackColor = colorRef;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorRefToQColor(colorRef));
    setPalette(pal);
    update();
    m_pGripper->update();
}

void CCoolBar::OnCoolBarClose()
{
    hide();
}

QWidget* CCoolBar::Gripper() const
{
    return m_pGripper;
}

QRect CCoolBar::CloseButtonRect() const
{
    return m_pGripper->m_btnClose.GetRect();
}

void CCoolBar::OnStateChanged()
{
    // Along the left of a bar docked at the top or bottom, along the top otherwise.
    const bool alongLeft = IsHorzDocked();
    QDockWidget::DockWidgetFeatures f = features();
    if (f.testFlag(QDockWidget::DockWidgetVerticalTitleBar) != alongLeft)
        setFeatures(f.setFlag(QDockWidget::DockWidgetVerticalTitleBar, alongLeft));
    CSizingControlBar::OnStateChanged();
}

} // namespace Pellora
