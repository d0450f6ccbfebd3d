#pragma once

#include "theme.h"

#include <QImage>
#include <QPointF>

class QPainter;

// Pictures of the toolbar and tab bar buttons: a round badge with a white glyph.
enum class Glyph { Home, Favor, Back, Forward, Refresh, Stop, Print, Skin, Close, Plus, Sidebar };
enum class ButtonLook { Normal, Hover, Press };

// A transparent `size` x `size` picture of a badge in `color` showing `glyph`.
QImage RenderBadge(Glyph glyph, const QColor& color, int size, ButtonLook look);
// The program's logo on a transparent background.
QImage RenderLogo(int size);
// A decoration of a skin (cloud, heart, leaf or star) of about `size` pixels around `center`.
void DrawMotif(QPainter& painter, Theme::Motif motif, const QPointF& center, double size, const QColor& color);
