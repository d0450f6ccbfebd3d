#include "gifframes.h"

#include "quenlitlog.h"

#include <QPainter>
#include <QSaveFile>

#include <gif_lib.h>

#include <cstring>
#include <memory>

namespace Quenlit {

namespace {

// Bounds that keep a hostile file from asking for gigabytes.
constexpr qint64 kMaxFramePixels = 16 * 1024 * 1024;
constexpr qint64 kMaxTotalPixels = 64 * 1024 * 1024;
constexpr int kMaxFrames = 4096;

struct MemoryReader
{
    const QByteArray* data;
    qsizetype pos = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int wanted)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const qsizetype left = reader->data->size() - reader->pos;
    const int n = int(qMin<qsizetype>(qMax(wanted, 0), left));
    if (n > 0) {
        std::memcpy(buffer, reader->data->constData() + reader->pos, size_t(n));
        reader->pos += n;
    }
    return n;
}

struct GifCloser
{
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

QString gifError(int code)
{
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("giflib error %1").arg(code);
}

// Reads the image data of an image whose pixels are not wanted, so the records after it
// can still be read.
bool skipImageData(GifFileType* gif)
{
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR)
        return false;
    while (block) {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return false;
    }
    return true;
}

// Rows of an interlaced image arrive in four passes.
QList<int> rowOrder(int height, bool interlaced)
{
    QList<int> rows;
    rows.reserve(height);
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.append(y);
        return rows;
    }
    static const int start[] = {0, 4, 2, 1};
    static const int step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass])
            rows.append(y);
    return rows;
}

} // namespace

bool IsGifData(const QByteArray& data)
{
    return data.startsWith("GIF87a") || data.startsWith("GIF89a");
}

GifPicture DecodeGif(const QByteArray& data)
{
    GifPicture result;
    if (!IsGifData(data)) {
        result.error = QStringLiteral("not a GIF");
        return result;
    }

    MemoryReader reader{&data};
    int openError = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readFromMemory, &openError));
    if (!gif) {
        result.damaged = true;
        result.error = gifError(openError);
        return result;
    }
    result.screen = QSize(gif->SWidth, gif->SHeight);

    GraphicsControlBlock pending{};
    bool havePending = false;
    qint64 totalPixels = 0;
    QRect bounds;

    auto fail = [&](const QString& why) {
        result.damaged = true;
        result.error = why;
    };

    for (bool done = false; !done;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) {
            fail(gifError(gif->Error));
            break;
        }
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE: {
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
                fail(gifError(gif->Error));
                done = true;
                break;
            }
            const GifImageDesc desc = gif->Image;
            const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
            const qint64 pixels = qint64(desc.Width) * desc.Height;
            const bool usable = desc.Width > 0 && desc.Height > 0 && pixels <= kMaxFramePixels && map
                && map->Colors && map->ColorCount > 0;
            if (!usable || totalPixels + pixels > kMaxTotalPixels || result.frames.size() >= kMaxFrames) {
                qCWarning(lcSkinGif) << "skipping a GIF image of" << desc.Width << "x" << desc.Height
                                 << (map ? "" : "without a colour table");
                if (!skipImageData(gif.get())) {
                    fail(gifError(gif->Error));
                    done = true;
                }
                havePending = false;
                break;
            }

            QImage image(desc.Width, desc.Height, QImage::Format_ARGB32);
            const int transparent = havePending ? pending.TransparentColor : NO_TRANSPARENT_COLOR;
            QByteArray line(desc.Width, '\0');
            auto* pixelsIn = reinterpret_cast<GifPixelType*>(line.data());
            bool complete = true;
            for (int y : rowOrder(desc.Height, desc.Interlace)) {
                if (DGifGetLine(gif.get(), pixelsIn, desc.Width) == GIF_ERROR) {
                    complete = false;
                    break;
                }
                auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < desc.Width; ++x) {
                    const int index = pixelsIn[x];
                    if (index == transparent) {
                        out[x] = qRgba(0, 0, 0, 0);
                    } else if (index < map->ColorCount) {
                        const GifColorType& c = map->Colors[index];
                        out[x] = qRgb(c.Red, c.Green, c.Blue);
                    } else {
                        out[x] = qRgb(0, 0, 0);
                    }
                }
            }
            if (!complete) {
                fail(gifError(gif->Error));
                done = true;
                break;
            }
            GifFrame frame;
            frame.image = image;
            frame.offset = QPoint(desc.Left, desc.Top);
            frame.disposal = havePending ? pending.DisposalMode : 0;
            frame.delay = havePending ? pending.DelayTime : -1;
            result.frames.append(frame);
            bounds |= QRect(frame.offset, image.size());
            totalPixels += pixels;
            havePending = false;
            break;
        }
        case EXTENSION_RECORD_TYPE: {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) {
                fail(gifError(gif->Error));
                done = true;
                break;
            }
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4
                && DGifExtensionToGCB(block[0], block + 1, &pending) == GIF_OK) {
                havePending = true;
            }
            while (block) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) {
                    fail(gifError(gif->Error));
                    done = true;
                    break;
                }
            }
            break;
        }
        case TERMINATE_RECORD_TYPE:
            done = true;
            break;
        default:
            fail(QStringLiteral("unknown GIF record"));
            done = true;
            break;
        }
    }

    if (result.screen.isEmpty())
        result.screen = bounds.united(QRect(0, 0, 1, 1)).size();
    if (!result.damaged && result.frames.isEmpty())
        result.error = QStringLiteral("the GIF holds no image");
    return result;
}

int GifFrameDelayMs(int delayHundredths)
{
    return delayHundredths > 4 ? delayHundredths * 10 : 100;
}

QPoint GifFramePosition(const QSize& frame, const QSize& client)
{
    return QPoint(frame.width() < client.width() ? (client.width() - frame.width()) / 2 : 0,
                  frame.height() < client.height() ? (client.height() - frame.height()) / 2 : 0);
}

void GifAnimator::setFrames(const QList<GifFrame>& frames)
{
    m_frames = frames;
    m_index = 0;
    m_saved = QImage();
    m_savedRect = QRect();
}

void GifAnimator::clear()
{
    setFrames({});
}

void GifAnimator::setCurrentIndex(int index)
{
    m_index = m_frames.isEmpty() ? 0 : qBound(0, index, int(m_frames.size()) - 1);
}

int GifAnimator::currentDelayMs() const
{
    return m_frames.isEmpty() ? 0 : GifFrameDelayMs(m_frames.at(m_index).delay);
}

void GifAnimator::renderCurrent(QImage& surface)
{
    if (m_frames.isEmpty() || surface.isNull())
        return;
    const GifFrame& frame = m_frames.at(m_index);
    const QPoint at = GifFramePosition(frame.image.size(), surface.size());
    if (frame.disposal == DISPOSE_PREVIOUS) {
        m_savedRect = QRect(at, frame.image.size()).intersected(surface.rect());
        m_saved = surface.copy(m_savedRect);
    }
    QPainter p(&surface);
    p.drawImage(at, frame.image);
}

void GifAnimator::advance(QImage& surface, const QColor& background)
{
    if (m_frames.isEmpty())
        return;
    const GifFrame& frame = m_frames.at(m_index);
    if (frame.disposal == DISPOSE_BACKGROUND) {
        surface.fill(background);
    } else if (frame.disposal == DISPOSE_PREVIOUS && !m_saved.isNull()) {
        QPainter p(&surface);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(m_savedRect.topLeft(), m_saved);
    }
    if (++m_index >= m_frames.size()) {
        m_index = 0;
        surface.fill(background);
    }
}

QList<ComposedGifFrame> ComposeGifCycle(const QList<GifFrame>& frames, const QSize& client,
                                        const QColor& background)
{
    QList<ComposedGifFrame> cycle;
    if (frames.isEmpty() || client.isEmpty())
        return cycle;
    QImage surface(client, QImage::Format_RGB32);
    surface.fill(background);
    GifAnimator animator;
    animator.setFrames(frames);
    for (int i = 0; i < frames.size(); ++i) {
        if (i > 0)
            animator.advance(surface, background);
        animator.renderCurrent(surface);
        cycle.append({surface.copy(), animator.currentDelayMs()});
    }
    return cycle;
}

namespace {

int writeToSaveFile(GifFileType* gif, const GifByteType* bytes, int length)
{
    auto* file = static_cast<QSaveFile*>(gif->UserData);
    return int(file->write(reinterpret_cast<const char*>(bytes), length));
}

bool writeFrames(GifFileType* gif, const QSize& screen, ColorMapObject* map, const QList<GifWriteFrame>& frames,
                 int loopCount)
{
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, screen.width(), screen.height(), 8, 0, map) == GIF_ERROR)
        return false;
    if (loopCount >= 0) {
        const GifByteType loop[3] = {1, GifByteType(loopCount & 0xff), GifByteType((loopCount >> 8) & 0xff)};
        if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR
            || EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR
            || EGifPutExtensionBlock(gif, 3, loop) == GIF_ERROR || EGifPutExtensionTrailer(gif) == GIF_ERROR)
            return false;
    }
    for (const GifWriteFrame& frame : frames) {
        if (frame.withControlBlock) {
            GraphicsControlBlock gcb{};
            gcb.DisposalMode = frame.disposal;
            gcb.UserInputFlag = false;
            gcb.DelayTime = frame.delay;
            gcb.TransparentColor = frame.transparentIndex;
            GifByteType ext[4];
            const size_t len = EGifGCBToExtension(&gcb, ext);
            if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext) == GIF_ERROR)
                return false;
        }
        const QRect& r = frame.rect;
        if (EGifPutImageDesc(gif, r.x(), r.y(), r.width(), r.height(), false, nullptr) == GIF_ERROR)
            return false;
        auto* pixels = reinterpret_cast<GifPixelType*>(const_cast<char*>(frame.indices.constData()));
        for (int y = 0; y < r.height(); ++y) {
            if (EGifPutLine(gif, pixels + qsizetype(y) * r.width(), r.width()) == GIF_ERROR)
                return false;
        }
    }
    return true;
}

} // namespace

bool WriteGifFile(const QString& path, const QSize& screen, const QList<QRgb>& palette,
                  const QList<GifWriteFrame>& frames, int loopCount, QString* error)
{
    auto refuse = [&](const QString& why) {
        qCWarning(lcSkinGif) << "not writing" << path << ":" << why;
        if (error)
            *error = why;
        return false;
    };

    if (screen.isEmpty() || screen.width() > 0xffff || screen.height() > 0xffff)
        return refuse(QStringLiteral("bad screen size"));
    if (palette.isEmpty() || palette.size() > 256)
        return refuse(QStringLiteral("the palette needs 1 to 256 colours"));
    if (frames.isEmpty())
        return refuse(QStringLiteral("no frames"));
    if (loopCount > 0xffff)
        return refuse(QStringLiteral("loop count too large"));
    for (const GifWriteFrame& f : frames) {
        if (f.rect.isEmpty() || !QRect(QPoint(0, 0), screen).contains(f.rect))
            return refuse(QStringLiteral("a frame lies outside the screen"));
        if (f.indices.size() != qsizetype(f.rect.width()) * f.rect.height())
            return refuse(QStringLiteral("a frame's pixel count does not match its size"));
        for (char c : f.indices) {
            if (uchar(c) >= palette.size())
                return refuse(QStringLiteral("a pixel names a colour outside the palette"));
        }
        if (f.delay < 0 || f.delay > 0xffff || f.disposal < 0 || f.disposal > 7 || f.transparentIndex >= palette.size())
            return refuse(QStringLiteral("bad graphic control values"));
    }

    int mapSize = 2;
    while (mapSize < palette.size())
        mapSize *= 2;
    QList<GifColorType> colors(mapSize, GifColorType{0, 0, 0});
    for (qsizetype i = 0; i < palette.size(); ++i)
        colors[i] = GifColorType{GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                                 GifByteType(qBlue(palette[i]))};
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(mapSize, colors.constData()),
                                                                   GifFreeMapObject);
    if (!map)
        return refuse(QStringLiteral("no memory for the palette"));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return refuse(file.errorString());

    int gifErr = 0;
    GifFileType* gif = EGifOpen(&file, writeToSaveFile, &gifErr);
    if (!gif)
        return refuse(gifError(gifErr));
    const bool written = writeFrames(gif, screen, map.get(), frames, loopCount);
    const int lastError = gif->Error;
    int closeError = 0;
    const bool closed = EGifCloseFile(gif, &closeError) == GIF_OK;
    if (!written || !closed) {
        file.cancelWriting();
        return refuse(gifError(written ? closeError : lastError));
    }
    if (!file.commit())
        return refuse(file.errorString());
    return true;
}

} // namespace Quenlit
