#pragma once

#include <QObject>

class QWebEnginePage;

// The warning page's "请爸爸妈妈开通这个网站", the one way a request for a refused site
// is made. The button is wired by a script of the program's own world, which no page
// script can reach, and only a click or key the child really made counts; the address
// asked for is read here from the page's own address, never taken from a script.
class CSiteRequestDesk : public QObject
{
    Q_OBJECT

public:
    // What the page tells the child; the numbers are the script's.
    enum Answer { Sent = 0, AskedBefore = 1, NotSent = 2, AskedEnough = 3 };
    Q_ENUM(Answer)

    // Gives `page` a desk: its channel in the program's world, and the script that
    // wires the warning page's button to it.
    static CSiteRequestDesk* Install(QWebEnginePage* page);

    // Records a request for the address the page shows, when the page is the warning
    // page; once per host and day.
    Q_INVOKABLE int ask();

signals:
    // A request for this host was recorded.
    void requestSent(const QString& host);

private:
    explicit CSiteRequestDesk(QWebEnginePage* page);

    QWebEnginePage* m_page;
};
