// The animated picture's GIF handling: any bytes decode to whole frames or none, and a
// cycle of them composes onto the control's surface frame by frame with sane waits.

#include "fuzzsupport.h"

#include <quenlit/gifframes.h>

using namespace Quenlit;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const GifPicture picture = DecodeGif(bytes);
    FUZZ_CHECK(IsGifData(bytes) || picture.frames.isEmpty(), QStringLiteral("frames from bytes that are no GIF"));
    FUZZ_CHECK(!picture.frames.isEmpty() || !picture.error.isEmpty() || !IsGifData(bytes),
               QStringLiteral("no frames and no reason"));
    for (const GifFrame& frame : picture.frames) {
        FUZZ_CHECK(!frame.image.isNull(), QStringLiteral("an empty frame was kept"));
        FUZZ_CHECK(frame.image.format() == QImage::Format_ARGB32, QStringLiteral("frame format %1").arg(frame.image.format()));
        FUZZ_CHECK(GifFrameDelayMs(frame.delay) >= 50, QStringLiteral("wait %1 for delay %2").arg(GifFrameDelayMs(frame.delay)).arg(frame.delay));
    }

    const QSize client(48, 32);
    const QList<ComposedGifFrame> cycle = ComposeGifCycle(picture.frames, client, Qt::white);
    FUZZ_CHECK(cycle.size() == picture.frames.size(), QStringLiteral("%1 composed of %2").arg(cycle.size()).arg(picture.frames.size()));
    for (const ComposedGifFrame& composed : cycle)
        FUZZ_CHECK(composed.image.size() == client && composed.delayMs > 0, QStringLiteral("a composed frame of the wrong size"));

    // Twice round the animator, as the control plays it.
    GifAnimator animator;
    animator.setFrames(picture.frames);
    QImage surface(client, QImage::Format_ARGB32);
    surface.fill(Qt::white);
    for (int step = 0; step < 2 * animator.frameCount(); ++step) {
        animator.renderCurrent(surface);
        animator.advance(surface, Qt::white);
        FUZZ_CHECK(animator.currentIndex() >= 0 && animator.currentIndex() < animator.frameCount(),
                   QStringLiteral("frame index %1 of %2").arg(animator.currentIndex()).arg(animator.frameCount()));
    }
    return 0;
}
