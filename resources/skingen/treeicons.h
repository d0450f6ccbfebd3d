#pragma once

#include <QImage>

// The 16 x 16 pictures of the browser's side bar: the favorites tree's folders and
// pages, and the star on its tabs. Transparent where nothing is drawn.
enum class TreeIcon { ClosedFolder, OpenFolder, WebPage, TabStar };

QImage RenderTreeIcon(TreeIcon icon);
