// Writes the control panel's wait animation: a ring of ten coloured dots whose big,
// bright head runs round clockwise with a tail of shrinking dots behind it.

#include <quenlit/gifframes.h>

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cmath>
#include <cstdio>

using Quenlit::GifWriteFrame;
using Quenlit::WriteGifFile;

namespace {

constexpr int kSize = 40;
constexpr int kDots = 10;
constexpr double kRingRadius = 14.0;
constexpr double kHeadRadius = 4.2;
constexpr double kShrinkPerStep = 0.27;
constexpr int kDelayHundredths = 8;
constexpr int kSubSamples = 4;

const QList<QRgb> kPalette = {
    qRgb(255, 255, 255), // transparent
    qRgb(239, 83, 80),   qRgb(255, 152, 0),  qRgb(253, 203, 45),  qRgb(102, 187, 106),
    qRgb(38, 166, 154),  qRgb(41, 182, 246), qRgb(66, 133, 244),  qRgb(121, 134, 203),
    qRgb(171, 71, 188),  qRgb(240, 98, 146),
};

// Palette indices of one frame: a pixel takes a dot's colour when at least half of its
// sub-samples fall inside that dot.
QByteArray drawFrame(int head)
{
    QByteArray pixels(kSize * kSize, '\0');
    const double centre = kSize / 2.0;
    for (int dot = 0; dot < kDots; ++dot) {
        const int behind = (head - dot + kDots) % kDots;
        const double radius = kHeadRadius - behind * kShrinkPerStep;
        const double angle = 2.0 * M_PI * dot / kDots - M_PI / 2.0;
        const double cx = centre + kRingRadius * std::cos(angle);
        const double cy = centre + kRingRadius * std::sin(angle);
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                int inside = 0;
                for (int sy = 0; sy < kSubSamples; ++sy) {
                    for (int sx = 0; sx < kSubSamples; ++sx) {
                        const double px = x + (sx + 0.5) / kSubSamples - cx;
                        const double py = y + (sy + 0.5) / kSubSamples - cy;
                        if (px * px + py * py <= radius * radius)
                            ++inside;
                    }
                }
                if (inside * 2 >= kSubSamples * kSubSamples)
                    pixels[y * kSize + x] = char(1 + dot);
            }
        }
    }
    return pixels;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.gif>\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        std::fprintf(stderr, "cannot create the folder of %s\n", argv[1]);
        return 1;
    }

    QList<GifWriteFrame> frames;
    for (int head = 0; head < kDots; ++head) {
        GifWriteFrame frame;
        frame.rect = QRect(0, 0, kSize, kSize);
        frame.indices = drawFrame(head);
        frame.delay = kDelayHundredths;
        // Each frame is whole, so the next one starts from the bare background.
        frame.disposal = 2;
        frame.transparentIndex = 0;
        frames.append(frame);
    }

    QString error;
    if (!WriteGifFile(path, QSize(kSize, kSize), kPalette, frames, 0, &error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[1], qPrintable(error));
        return 1;
    }
    return 0;
}
