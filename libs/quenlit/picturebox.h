#pragma once

#include "quenlit_export.h"

#include <QImage>
#include <QWidget>

namespace Quenlit {

// Shows a bitmap stretched over the control inside a thin frame, on white.
class QUENLIT_EXPORT CPictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit CPictureBox(QWidget* parent = nullptr);
    ~CPictureBox() override;

    // Replaces the bitmap and repaints; an empty image clears the box.
    void SetBitmap(const QImage& bitmap);
    QImage Bitmap() const { return m_bitmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_bitmap;
};

} // namespace Quenlit
