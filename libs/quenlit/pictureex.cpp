#include "pictureex.h"

#include "quenlitlog.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QResizeEvent>

namespace Quenlit {

CPictureEx::CPictureEx(QWidget* parent)
    : QWidget(parent)
    , m_timer(this)
{
    m_timer.setObjectName(QStringLiteral("animationTimer"));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CPictureEx::showNextFrame);
}

CPictureEx::~CPictureEx()
{
    Stop();
}

bool CPictureEx::Load(const QString& fileName)
{
    UnLoad();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSkin) << "cannot open picture" << fileName << ":" << file.errorString();
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcSkin) << "cannot read picture" << fileName << ":" << file.errorString();
        return false;
    }
    return load(data, fileName);
}

bool CPictureEx::Load(const QByteArray& data)
{
    UnLoad();
    return load(data, QStringLiteral("(data in memory)"));
}

bool CPictureEx::load(const QByteArray& data, const QString& source)
{
    if (IsGifData(data)) {
        const GifPicture gif = DecodeGif(data);
        if (gif.frames.isEmpty()) {
            qCWarning(lcSkin) << "cannot show picture" << source << ":" << gif.error;
            return false;
        }
        if (gif.damaged)
            qCWarning(lcSkin) << "picture" << source << "is damaged, showing its" << gif.frames.size()
                              << "good images:" << gif.error;
        m_bGif = true;
        m_sizePicture = gif.screen;
        if (gif.frames.size() == 1) {
            // A single image is a still picture: the whole logical screen with the image
            // at its offset, its transparent pixels showing the background.
            const GifFrame& only = gif.frames.first();
            m_stillPicture = QImage(gif.screen, QImage::Format_ARGB32);
            m_stillPicture.fill(Qt::transparent);
            QPainter p(&m_stillPicture);
            p.drawImage(only.offset, only.image);
        } else {
            m_animator.setFrames(gif.frames);
        }
    } else {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QImage image = reader.read();
        if (image.isNull()) {
            qCWarning(lcSkin) << "cannot show picture" << source << ":" << reader.errorString();
            return false;
        }
        m_stillPicture = image;
        m_sizePicture = image.size();
    }
    return PrepareDC(width(), height());
}

void CPictureEx::UnLoad()
{
    Stop();
    m_animator.clear();
    m_stillPicture = QImage();
    m_surface = QImage();
    m_sizePicture = QSize();
    m_crBackground = Qt::white;
    m_bGif = false;
    m_bStillDrawn = false;
    m_rcPaint = QRect();
    update();
}

bool CPictureEx::PrepareDC(int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0) {
        qCWarning(lcSkin) << "no surface for a control of" << nWidth << "x" << nHeight;
        m_surface = QImage();
        return false;
    }
    m_crBackground = palette().color(QPalette::Button);
    m_surface = QImage(nWidth, nHeight, QImage::Format_RGB32);
    m_surface.fill(m_crBackground);
    update();
    return true;
}

bool CPictureEx::Draw()
{
    if (m_surface.isNull())
        return false;
    if (IsAnimatedGIF()) {
        if (!m_bPlaying) {
            m_bPlaying = true;
            m_animator.renderCurrent(m_surface);
            update();
            m_timer.start(m_animator.currentDelayMs());
            emit frameShown(m_animator.currentIndex());
        }
        return false;
    }
    if (m_stillPicture.isNull())
        return false;
    renderStill();
    m_bStillDrawn = true;
    return true;
}

void CPictureEx::renderStill()
{
    QPainter p(&m_surface);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(m_surface.rect(), m_stillPicture);
    p.end();
    update();
}

void CPictureEx::showNextFrame()
{
    if (!m_bPlaying || m_surface.isNull())
        return;
    m_animator.advance(m_surface, m_crBackground);
    m_animator.renderCurrent(m_surface);
    update();
    m_timer.start(m_animator.currentDelayMs());
    emit frameShown(m_animator.currentIndex());
}

void CPictureEx::Stop()
{
    m_timer.stop();
    m_bPlaying = false;
}

void CPictureEx::SetBkColor(const QColor& color)
{
    if (m_surface.isNull())
        return;
    m_crBackground = color;
    m_surface.fill(color);
    update();
}

bool CPictureEx::SetPaintRect(const QRect& rect)
{
    m_rcPaint = rect;
    update();
    return true;
}

void CPictureEx::paintEvent(QPaintEvent*)
{
    if (m_surface.isNull())
        return;
    QPainter p(this);
    const QPoint from = m_rcPaint.isEmpty() ? QPoint(0, 0) : m_rcPaint.topLeft();
    p.drawImage(QPoint(0, 0), m_surface, QRect(from, size()));
}

void CPictureEx::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Layouts size the control after it was loaded: the surface follows, keeping the
    // background and what was drawn.
    if (m_surface.isNull() || event->size() == m_surface.size() || event->size().isEmpty())
        return;
    m_surface = QImage(event->size(), QImage::Format_RGB32);
    m_surface.fill(m_crBackground);
    if (m_bPlaying)
        m_animator.renderCurrent(m_surface);
    else if (m_bStillDrawn)
        renderStill();
    update();
}

} // namespace Quenlit
