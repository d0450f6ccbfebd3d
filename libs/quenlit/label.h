#pragma once

#include "quenlit_export.h"

#include <QFont>
#include <QWidget>

namespace Quenlit {

// A one-line text with its own font, colours and an optional frame; the text is centred
// vertically and cut with an ellipsis when it does not fit.
class QUENLIT_EXPORT CLabel : public QWidget
{
    Q_OBJECT

public:
    explicit CLabel(QWidget* parent = nullptr);
    explicit CLabel(const QString& text, QWidget* parent = nullptr);
    ~CLabel() override;

    QString text() const { return m_text; }
    void setText(const QString& text);

    // Setters return the label so that they can be chained.
    CLabel& SetFont(const QFont& font);
    CLabel& SetFontBold(bool bBold);
    CLabel& SetTextColor(const QColor& color);
    CLabel& SetBackColor(const QColor& color);
    CLabel& EnableBorder(bool bEnable = true);
    CLabel& SetAlignment(Qt::Alignment horizontal);

    QFont LabelFont() const { return m_font; }
    QColor TextColor() const { return m_textColor; }
    QColor BackColor() const { return m_backColor; }
    bool HasBorder() const { return m_bBorder; }
    // The text as drawn in the present width.
    QString DisplayedText() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QFont m_font;
    QColor m_textColor = Qt::black;
    QColor m_backColor = Qt::white;
    bool m_bBorder = false;
    Qt::Alignment m_align = Qt::AlignLeft;
};

} // namespace Quenlit
