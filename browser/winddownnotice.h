#pragma once

#include <QBasicTimer>
#include <QString>
#include <QWidget>

// The friendly word before the time is up: a rounded card in the skin's colours over
// the top of the page. It takes neither the keyboard nor the mouse from the page and
// goes by itself after a few seconds.
class CWindDownNotice : public QWidget
{
    Q_OBJECT

public:
    explicit CWindDownNotice(QWidget* frame);

    // Shows the notice for `minutes` left (5 or 1), centred over `area` of the frame.
    void ShowFor(int minutes, const QRect& area);
    QString Text() const { return m_strText; }

    // What the child reads with `minutes` left.
    static QString TextFor(int minutes);

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QString m_strText;
    QBasicTimer m_hideTimer;
};
