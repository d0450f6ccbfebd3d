#pragma once

#include "quenlit_export.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace Quenlit {

// GIF frames as the animated picture plays them: decoding with giflib, the timing,
// placement and disposal rules, and writing the project's own animated GIFs.

// One decoded image of a GIF: its pixels (ARGB32, transparent index at alpha 0), the
// offset the file gives it, and its graphic control block.
struct GifFrame
{
    QImage image;
    QPoint offset;
    int disposal = 0; // 0 none, 1 keep, 2 restore background, 3 restore previous
    int delay = -1;   // hundredths of a second; -1 without a graphic control block
};

struct GifPicture
{
    QSize screen;            // the logical screen size
    QList<GifFrame> frames;  // only the images that decoded completely
    bool damaged = false;    // the data ended or broke before the trailer
    QString error;           // why, when damaged or empty
};

// "GIF87a" or "GIF89a" at the start of the data.
QUENLIT_EXPORT bool IsGifData(const QByteArray& data);

// Decodes every image of a GIF held in memory. A damaged file keeps the images that
// decoded before the damage; garbage gives no frames. The caller reports the damage.
QUENLIT_EXPORT GifPicture DecodeGif(const QByteArray& data);

// The wait after a frame: delays of 0 to 4 hundredths (and none) play at 100 ms.
QUENLIT_EXPORT int GifFrameDelayMs(int delayHundredths);

// Where a frame of this size goes in the client area: centred along each axis where it
// is smaller, at 0 where it is not. The offset in the file plays no part.
QUENLIT_EXPORT QPoint GifFramePosition(const QSize& frame, const QSize& client);

// The frame-by-frame state of a playing GIF over a drawing surface the caller owns.
class QUENLIT_EXPORT GifAnimator
{
public:
    void setFrames(const QList<GifFrame>& frames);
    void clear();
    int frameCount() const { return int(m_frames.size()); }
    int currentIndex() const { return m_index; }
    void setCurrentIndex(int index);
    int currentDelayMs() const;

    // Draws the current frame centred on the surface; for disposal 3 the area under it
    // is saved first.
    void renderCurrent(QImage& surface);
    // Applies the current frame's disposal and moves to the next one; after the last
    // frame the surface is filled with the background and the first frame follows.
    void advance(QImage& surface, const QColor& background);

private:
    QList<GifFrame> m_frames;
    int m_index = 0;
    QImage m_saved;
    QRect m_savedRect;
};

struct ComposedGifFrame
{
    QImage image;
    int delayMs = 0;
};

// One whole cycle as a control of the given client size shows it, starting from a
// surface filled with the background: the surface after each frame and its wait.
QUENLIT_EXPORT QList<ComposedGifFrame> ComposeGifCycle(const QList<GifFrame>& frames, const QSize& client,
                                                       const QColor& background);

// A frame to write: palette indices row by row (rect.width() * rect.height() bytes).
struct GifWriteFrame
{
    QRect rect;
    QByteArray indices;
    int delay = 0;
    int disposal = 0;
    int transparentIndex = -1; // -1: none
    bool withControlBlock = true;
};

// Writes a GIF89a with one global palette (at most 256 colours), a loop extension when
// loopCount >= 0 (0 loops forever) and one graphic control block per frame that asks
// for one. The file is replaced only when everything was written.
QUENLIT_EXPORT bool WriteGifFile(const QString& path, const QSize& screen, const QList<QRgb>& palette,
                                 const QList<GifWriteFrame>& frames, int loopCount, QString* error = nullptr);

} // namespace Quenlit
