#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>

class QScreen;
class QWidget;

// The frame fills one screen; every other screen gets a plain window of the skin's
// colour above everything else, so no desktop is left within the child's reach. The
// covers follow screens coming, going and changing size, show and hide with the frame
// and go with it.
class CScreenCovers : public QObject
{
    Q_OBJECT

public:
    // One cover: the screen it is for (an index into the screens given), its place, and
    // the part of it left out because the frame lies there (empty: none).
    struct Area {
        int screen = -1;
        QRect geometry;
        QRegion cutOut;
    };

    explicit CScreenCovers(QWidget* frame);
    ~CScreenCovers() override;

    // What to cover so that every screen shows the frame or a cover: each screen that the
    // frame does not already take whole, except the part under the frame, which a cover
    // above it would hide. A mirrored screen showing the frame's screen needs nothing.
    static QList<Area> CoverAreas(const QList<QRect>& screens, const QRect& frame);

    // The cover windows now in place.
    QList<QWidget*> Covers() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchScreen(QScreen* screen);
    void sync();

    QWidget* m_pFrame;
    QList<QPointer<QWidget>> m_covers;
};
