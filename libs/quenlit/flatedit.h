#pragma once

#include "quenlit_export.h"

#include <QLineEdit>

namespace Quenlit {

// The panel's edit box: red text inside a thin flat border instead of the sunken frame.
class QUENLIT_EXPORT CFlatEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CFlatEdit(QWidget* parent = nullptr);
    ~CFlatEdit() override;

    static QColor TextColor() { return QColor(255, 0, 0); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyColours();
};

} // namespace Quenlit
