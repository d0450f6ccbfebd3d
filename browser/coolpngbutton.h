#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A push button drawn from three PNG faces (normal, mouse over, pressed) over the
// part of its owner's background picture that lies under it, so transparent parts
// of a face show the owner's background. A click emits clicked() like any button.
class CCoolPngButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CCoolPngButton(QWidget* parent = nullptr);

    void SetNormalFace(const QString& path);
    void SetHoverFace(const QString& path);
    void SetPressFace(const QString& path);
    // The owner's background, in the owner's coordinates.
    void SetBackGroundBitmap(const QPixmap& background);

    // A picture file as the faces are read: a file that cannot be read gives a null
    // picture, which draws nothing, and is logged with its path.
    static QPixmap LoadPicture(const QString& path);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QPixmap& currentFace() const;

    QPixmap m_normal;
    QPixmap m_hover;
    QPixmap m_press;
    QPixmap m_background;
    bool m_bHover = false;
};
