#pragma once

#include "quenlit_export.h"

#include <QWidget>

namespace Quenlit {

// A thin rule filled with one colour.
class QUENLIT_EXPORT CSeparaterStatic : public QWidget
{
    Q_OBJECT

public:
    explicit CSeparaterStatic(QWidget* parent = nullptr);
    ~CSeparaterStatic() override;

    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }
    QSize sizeHint() const override { return QSize(100, 1); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color{208, 219, 226};
};

} // namespace Quenlit
