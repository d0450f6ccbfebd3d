#pragma once

#include "quenlit_export.h"

#include <QFont>
#include <QWidget>

namespace Quenlit {

enum class CoolGroupBoxStyle {
    Frame,  // a rounded frame with the caption in a small rounded box on its top line
    Window, // a rounded frame whose top is a caption band filled with the background colour(s)
};

enum class CoolGroupBoxAlign { Left, Center, Right };

struct QUENLIT_EXPORT GroupBoxLayout {
    QRect frame;   // the rounded frame
    QRect caption; // the caption box (Frame) or band (Window)
    QRect text;    // where the caption text is drawn
};
QUENLIT_EXPORT GroupBoxLayout LayoutGroupBox(const QSize& box, const QSize& captionText, CoolGroupBoxAlign align,
                                             CoolGroupBoxStyle style);

// The panel's group box: a rounded frame in the border colour around a light inside, with
// its caption. It only draws; the controls it frames are its siblings and stay clickable.
class QUENLIT_EXPORT CCoolGroupBox : public QWidget
{
    Q_OBJECT

public:
    explicit CCoolGroupBox(QWidget* parent = nullptr);
    ~CCoolGroupBox() override;

    // Makes the box a child of `parent` at `rect`.
    bool Create(const QString& caption, const QRect& rect, QWidget* parent);

    // Setters return the box so that they can be chained.
    CCoolGroupBox& SetText(const QString& text);
    CCoolGroupBox& SetFont(const QFont& font);
    CCoolGroupBox& SetFontBold(bool bBold);
    CCoolGroupBox& SetFontItalic(bool bItalic);
    CCoolGroupBox& SetFontUnderline(bool bUnderline);
    CCoolGroupBox& SetFontSize(int nPointSize);
    CCoolGroupBox& SetFontName(const QString& name);
    CCoolGroupBox& SetBorderColor(const QColor& color);
    CCoolGroupBox& SetCatptionTextColor(const QColor& color);
    // The colour around the frame and behind the caption; with two colours a top-to-bottom blend.
    CCoolGroupBox& SetBackgroundColor(const QColor& color);
    CCoolGroupBox& SetBackgroundColor(const QColor& top, const QColor& bottom);
    CCoolGroupBox& SetAlignment(CoolGroupBoxAlign align);
    CCoolGroupBox& SetXPGroupStyle(CoolGroupBoxStyle style);

    QString Text() const { return m_text; }
    QFont CaptionFont() const { return m_font; }
    QColor BorderColor() const { return m_borderColor; }
    QColor CaptionTextColor() const { return m_captionColor; }
    QColor BackgroundColor() const { return m_backTop; }
    CoolGroupBoxAlign Alignment() const { return m_align; }
    CoolGroupBoxStyle GroupStyle() const { return m_style; }
    GroupBoxLayout Layout() const;

    static QColor InsideColor() { return QColor(250, 249, 244); }

    void UpdateSurface();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString captionText() const;

    QString m_text;
    QFont m_font;
    QColor m_borderColor{140, 165, 185};
    QColor m_captionColor{37, 70, 115};
    QColor m_backTop;    // invalid: the parent shows through
    QColor m_backBottom; // invalid: one colour
    CoolGroupBoxAlign m_align = CoolGroupBoxAlign::Left;
    CoolGroupBoxStyle m_style = CoolGroupBoxStyle::Frame;
};

} // namespace Quenlit
