#include "screencovers.h"

#include <pellora/colorref.h>
#include <pellora/skinpaint.h>
#include <pellora/surfacemanager.h>

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

using Pellora::ColorRefToQColor;
using Pellora::CSurfaceManager;
using Pellora::LoadSkinImage;

namespace {

// A screen's worth of the skin's colour with the skin's logo in the middle. It never
// takes the focus: the keys stay with the frame.
class CScreenCover : public QWidget
{
public:
    explicit CScreenCover(QWidget* owner)
        : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                             | Qt::WindowDoesNotAcceptFocus)
    {
        setObjectName(QStringLiteral("screenCover"));
        // Not "Lorvane": that title names the frame for whoever looks for it.
        setWindowTitle(QStringLiteral("lorvane-cover"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }

    // True when the skin changed since the last paint.
    bool IsStale() const
    {
        return m_color != CSurfaceManager::m_CoolTabCtrlBkColor || m_logoPath != CSurfaceManager::m_strLogoPic;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // A logo that cannot be read is reported by the skin library; the covers then
        // show the colour alone.
        if (!m_bLogoLoaded || m_logoPath != CSurfaceManager::m_strLogoPic) {
            m_bLogoLoaded = true;
            m_logoPath = CSurfaceManager::m_strLogoPic;
            m_logo = LoadSkinImage(m_logoPath);
        }
        m_color = CSurfaceManager::m_CoolTabCtrlBkColor;
        QPainter p(this);
        p.fillRect(rect(), ColorRefToQColor(m_color));
        if (!m_logo.isNull()) {
            QRect place(QPoint(), m_logo.size());
            place.moveCenter(rect().center());
            p.drawImage(place, m_logo);
        }
    }

private:
    unsigned long m_color = 0;
    bool m_bLogoLoaded = false;
    QString m_logoPath;
    QImage m_logo;
};

} // namespace

CScreenCovers::CScreenCovers(QWidget* frame)
    : QObject(frame)
    , m_pFrame(frame)
{
    frame->installEventFilter(this);
    auto* app = qGuiApp;
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        watchScreen(s);
        sync();
    });
    connect(app, &QGuiApplication::screenRemoved, this, &CScreenCovers::sync, Qt::QueuedConnection);
    connect(app, &QGuiApplication::primaryScreenChanged, this, &CScreenCovers::sync);
    for (QScreen* s : QGuiApplication::screens())
        watchScreen(s);
    sync();
}

CScreenCovers::~CScreenCovers() = default;

void CScreenCovers::watchScreen(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &CScreenCovers::sync);
}

QList<CScreenCovers::Area> CScreenCovers::CoverAreas(const QList<QRect>& screens, const QRect& frame)
{
    QList<Area> areas;
    for (int i = 0; i < screens.size(); ++i) {
        const QRect& screen = screens[i];
        if (screen.isEmpty() || frame.contains(screen))
            continue;
        Area area;
        area.screen = i;
        area.geometry = screen;
        const QRect shared = frame & screen;
        if (!shared.isEmpty())
            area.cutOut = QRegion(shared.translated(-screen.topLeft()));
        areas.append(area);
    }
    return areas;
}

QList<QWidget*> CScreenCovers::Covers() const
{
    QList<QWidget*> out;
    for (const QPointer<QWidget>& c : m_covers) {
        if (c)
            out.append(c);
    }
    return out;
}

void CScreenCovers::sync()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QList<QRect> geometries;
    for (QScreen* s : screens)
        geometries.append(s->geometry());
    const QList<Area> areas = CoverAreas(geometries, m_pFrame->geometry());

    m_covers.removeAll(nullptr);
    while (m_covers.size() > areas.size())
        delete m_covers.takeLast().data();
    while (m_covers.size() < areas.size())
        m_covers.append(new CScreenCover(m_pFrame));

    const bool shown = m_pFrame->isVisible();
    for (int i = 0; i < areas.size(); ++i) {
        QWidget* cover = m_covers[i];
        const Area& area = areas[i];
        // A screen of its own X screen needs its window made there.
        cover->setScreen(screens[area.screen]);
        cover->setGeometry(area.geometry);
        if (area.cutOut.isEmpty())
            cover->clearMask();
        else
            cover->setMask(QRegion(QRect(QPoint(), area.geometry.size())) - area.cutOut);
        if (shown && !cover->isVisible()) {
            cover->show();
            cover->raise();
        }
    }
}

bool CScreenCovers::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pFrame) {
        switch (event->type()) {
        case QEvent::Hide:
            for (QWidget* c : Covers())
                c->hide();
            break;
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            sync();
            break;
        case QEvent::Paint:
            // A new skin repaints the frame; the covers take its colour with it.
            for (QWidget* c : Covers()) {
                if (static_cast<CScreenCover*>(c)->IsStale())
                    c->update();
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
