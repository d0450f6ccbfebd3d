#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QUrl>

// What the history page decides, without any widget.

inline constexpr int kHistoryPageSize = 16;

// The ground of the focused list's current and other selected rows.
inline const QColor kHistoryLightRowBackground(231, 240, 245);

// How a row of the history list is drawn.
struct HistoryRowLook {
    QColor background;
    QColor text;
    bool frame = false; // a thin frame around the whole row

    bool operator==(const HistoryRowLook&) const = default;
};
// While the list has the focus: the current row light with red text and framed, other
// selected rows light with red text, the rest white with black text. Without the focus
// every row is white with black text.
HistoryRowLook HistoryRowLookFor(bool listHasFocus, bool isCurrentRow, bool isSelected);

// Where a cell's text goes: inside its right and bottom lines, a little off the left one.
QRect HistoryCellTextRect(const QRect& cell);

// The pieces of one header section: the caption's rectangle (2 pixels inside the section
// and 20 more off its right side, room for a sort arrow), and the shadow and the line that
// mark the section's right edge.
struct HistoryHeaderSection {
    QRect text;
    QRect shade;
    QRect line;
};
HistoryHeaderSection LayoutHistoryHeaderSection(const QRect& section);
// The header is as tall as a line of its own font plus 5 pixels.
int HistoryHeaderHeight(int fontHeight);

// A stay's length in whole seconds as the list shows it: hours "小时", minutes "分" and
// seconds "秒", each only when it is not zero; a stay of no whole second gives "0秒".
QString DurationText(qint64 seconds);
// The same from the stored column text (a plain decimal conversion).
QString DurationText(const QString& delayTime);

// The address to hand to the system's browser for a recorded address: only a web
// address (http or https, with a host) is opened; anything else, such as the browser's
// start and close rows or file: and javascript: addresses, gives an empty URL.
QUrl WebAddressToOpen(const QString& visited);

// A recorded address as the list shows it: every character that changes the direction of
// the text around it (which could make "…/evil" read "…/live") is written out as its code,
// "<U+202E>", so the address reads in the order it was typed.
QString VisibleAddressText(const QString& address);

// The list's tooltip for an address: its visible text, broken into lines of
// kToolTipLineLength characters, at most kToolTipLines of them, the last one ending in
// "…" when there is more. The result is the tooltip's markup for exactly that plain text,
// so nothing in an address is read as formatting.
inline constexpr int kToolTipLineLength = 80;
inline constexpr int kToolTipLines = 4;
QString AddressToolTip(const QString& address);
