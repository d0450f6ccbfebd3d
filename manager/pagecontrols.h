#pragma once

#include "configrecord.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <functional>

class CConfigManager;
class QLabel;
class QWidget;

namespace Quenlit {
class CCoolButton;
class CFlatEdit;
class CLabel;
class CSeparaterStatic;
} // namespace Quenlit

// Builders for the controls the settings pages share, each at its place in page pixels.

// The page heading: 20-point bold text of the default face in dark grey.
Quenlit::CLabel* AddPageHeading(QWidget* page, const QString& text, const QRect& rect);
// A horizontal rule; an invalid colour keeps the rule's own.
Quenlit::CSeparaterStatic* AddPageRule(QWidget* page, const QRect& rect, const QColor& color = QColor());
Quenlit::CCoolButton* AddPageButton(QWidget* page, const QString& text, const QRect& rect);
Quenlit::CFlatEdit* AddPageEdit(QWidget* page, const QRect& rect, bool password = false);
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
