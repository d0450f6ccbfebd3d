#pragma once

#include "quenlit_export.h"

#include "gifframes.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace Quenlit {

// Shows a picture file; an animated GIF plays in a loop until it is stopped. Frames are
// drawn into an off-screen surface of the control's size, centred, with the GIF's
// delays and disposal methods.
class QUENLIT_EXPORT CPictureEx : public QWidget
{
    Q_OBJECT

public:
    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    // Each returns true when a picture was loaded; any earlier picture is unloaded first.
    bool Load(const QString& fileName);
    bool Load(const char* fileName) { return Load(QString::fromUtf8(fileName)); }
    bool Load(const QByteArray& data);
    void UnLoad();

    // Starts an animated GIF (returns false) or draws a still picture stretched over the
    // control (returns true). Does nothing and returns false when nothing is loaded.
    bool Draw();
    // Ends the animation; the shown frame stays. Returns at once when nothing plays.
    void Stop();

    QSize GetSize() const { return m_sizePicture; }
    bool IsGIF() const { return m_bGif; }
    bool IsAnimatedGIF() const { return m_bGif && m_animator.frameCount() > 1; }
    bool IsPlaying() const { return m_bPlaying; }
    int GetFrameCount() const { return m_animator.frameCount(); }
    int GetCurrentFrame() const { return m_animator.currentIndex(); }
    // The wait after the frame being shown, in milliseconds (0 for a still picture).
    int GetCurrentDelay() const { return m_animator.currentDelayMs(); }

    // Stored and painted over the surface only when a surface exists.
    void SetBkColor(const QColor& color);
    QColor GetBkColor() const { return m_crBackground; }
    // Paints the surface from the rectangle's top-left corner when it is not empty.
    bool SetPaintRect(const QRect& rect);
    QRect GetPaintRect() const { return m_rcPaint; }
    // Creates the off-screen surface, filled with the system button-face colour.
    bool PrepareDC(int nWidth, int nHeight);
    // What the control shows (a null image without a surface).
    QImage Surface() const { return m_surface; }

signals:
    // A frame of an animated GIF was drawn into the surface.
    void frameShown(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Load from data; `source` names it in the one warning a refusal or damage gets.
    bool load(const QByteArray& data, const QString& source);
    void showNextFrame();
    void renderStill();

    QSize m_sizePicture;
    QColor m_crBackground = Qt::white;
    bool m_bGif = false;
    bool m_bPlaying = false;
    bool m_bStillDrawn = false;
    QImage m_surface; // the off-screen drawing surface; null means none is prepared
    QImage m_stillPicture;
    GifAnimator m_animator;
    QRect m_rcPaint;
    // Frames advance on a timer of the UI thread instead of a worker thread, so the
    // surface is only ever touched by one thread and Stop never has to wait.
    QTimer m_timer;
};

} // namespace Quenlit
