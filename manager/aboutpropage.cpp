#include "aboutpropage.h"

#include "managerids.h"

#include <QLabel>

namespace {
// The line's place on the page's own layout, in dialog units.
constexpr int kLayoutWidth = 372;
constexpr int kLayoutHeight = 305;
constexpr int kLineX = 131;
constexpr int kLineY = 124;
constexpr int kLineWidth = 98;
constexpr int kLineHeight = 13;
} // namespace

CAboutPropage::CAboutPropage(QWidget* parent)
    : CPanelPage(ManagerId::kAboutPage, parent)
    , m_staticMaker(new QLabel(MakerLine(), this))
{
    m_staticMaker->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_staticMaker->setAutoFillBackground(true); // white behind black, as every static of a page
}

CAboutPropage::~CAboutPropage() = default;

QString CAboutPropage::MakerLine()
{
    return QStringLiteral("本软件由 Lorvane 开发团队制作  版本 %1").arg(Version());
}

QString CAboutPropage::Version()
{
    return QStringLiteral(LORVANE_VERSION);
}

QRect CAboutPropage::MakerLineRect(const QSize& page, const QSize& text)
{
    const double sx = double(page.width()) / kLayoutWidth;
    const double sy = double(page.height()) / kLayoutHeight;
    // Left-aligned from the line's own corner; only a text too wide for the rest of the
    // page moves left, so none of it is cut.
    const int w = qMin(qMax(text.width(), int(kLineWidth * sx)), qMax(0, page.width() - 4));
    const int h = qMax(text.height(), int(kLineHeight * sy));
    const int x = qBound(2, int(kLineX * sx), qMax(2, page.width() - 2 - w));
    return QRect(x, int(kLineY * sy), w, h);
}

void CAboutPropage::resizeEvent(QResizeEvent* event)
{
    CPanelPage::resizeEvent(event);
    m_staticMaker->setGeometry(MakerLineRect(size(), m_staticMaker->sizeHint()));
}
