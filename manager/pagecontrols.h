#pragma once

#include "configrecord.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <functional>

class CCoolButton;
class CConfigManager;
class CFlatEdit;
class CLabel;
class CSeparaterStatic;
class QLabel;
class QWidget;

// Builders for the controls the settings pages share; every control gets its number and
// its place in page pixels.

// The page heading: 20-point bold text of the default face in dark grey.
CLabel* AddPageHeading(QWidget* page, const QString& text, const QRect& rect);
// A horizontal rule; an invalid colour keeps the rule's own.
CSeparaterStatic* AddPageRule(QWidget* page, int id, const QRect& rect, const QColor& color = QColor());
CCoolButton* AddPageButton(QWidget* page, int id, const QString& text, const QRect& rect);
CFlatEdit* AddPageEdit(QWidget* page, int id, const QRect& rect, bool password = false);
// A static text, black on the page's white.
QLabel* AddPageText(QWidget* page, const QString& text, const QRect& rect,
                    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// A quieter line of advice under the controls.
QLabel* AddPageNote(QWidget* page, const QString& text, const QRect& rect);

inline const QColor kPageHeadingColor(81, 81, 81);

// The message a parent gets when the configuration file cannot be written.
QString ConfigSaveFailedMessage(const CConfigManager& config);

// Writes the whole record. When the file cannot be written the record is put back to
// `before`, so no later save of another page writes what the parent was told was not
// saved, the parent is told, and the result is false.
bool SaveConfigOrReport(CConfigManager& config, const ConfigRecord& before, QWidget* parent);

// As SaveConfigOrReport; after a good write `refill` lets the page show what is now stored,
// then the parent hears `success` in an information box with `caption`.
bool SaveConfigAndConfirm(CConfigManager& config, const ConfigRecord& before, QWidget* parent, const QString& success,
                          const QString& caption, const std::function<void()>& refill = {});
