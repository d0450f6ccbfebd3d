#pragma once

#include "toolbarlayout.h"

#include <QPixmap>
#include <QWidget>

class CCoolPngButton;
class QCompleter;
class QStringListModel;

namespace Pellora {
class CCoolComoBox;
}

// The strip at the top of the browser: navigation buttons, the address box, the skin
// and close buttons. It only shows controls and passes on what the child does: every
// button reports its command, Enter in the address box reports addressEntered().
class CControlToolBar : public QWidget
{
    Q_OBJECT

public:
    explicit CControlToolBar(QWidget* parent = nullptr);

    // Reads the skin file when one is given, then gives every control its pictures.
    void ApplySkin(const QString& skinFile = QString());

    Pellora::CCoolComoBox* AddressBox() const { return m_pAddressBox; }
    QString AddressText() const;
    void SetAddressText(const QString& text);
    CCoolPngButton* Button(int commandId) const;
    // A web page visited during this run: offered first by the completion from now on
    // (the history holds a page only once its stay has ended).
    void RememberAddress(const QString& address);

    QSize sizeHint() const override;

signals:
    void command(int commandId);
    void addressEntered();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildBackground();
    void paintBackground(QPainter& painter, const QRect& area) const;
    void placeControls();
    void refreshCompletion();

    QPixmap m_bmpBackground;
    QPixmap m_bmpTile;
    QPixmap m_bmpLogo;
    ToolBarGeometry m_geometry;
    QList<CCoolPngButton*> m_buttons; // home ... close, in the order the skin gives them pictures
    Pellora::CCoolComoBox* m_pAddressBox;
    QCompleter* m_pCompleter;
    QStringListModel* m_pHistoryModel;
    QStringList m_visitedThisRun; // most recent first
};
