#include "lockscreendlg.h"

#include "timelimit.h"
#include "timeupdlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimerEvent>

namespace {

int g_nPromptGuard = 1;

constexpr int kStartDelayMs = 100;

} // namespace

CLockScreenDlg::CLockScreenDlg(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setModal(true);
}

bool CLockScreenDlg::PromptGuard()
{
    return g_nPromptGuard != 0;
}

QRect CLockScreenDlg::CoveredArea()
{
    // A second monitor left uncovered would be no lock at all.
    QRect all;
    for (QScreen* s : QGuiApplication::screens())
        all |= s->geometry();
    if (all.isEmpty())
        all = QRect(0, 0, 800, 600);
    return all.adjusted(0, 0, 3, 3);
}

void CLockScreenDlg::takeSnapshot()
{
    const QRect area = CoveredArea();
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter p(&picture);
    for (QScreen* s : QGuiApplication::screens())
        p.drawPixmap(s->geometry().topLeft() - area.topLeft(), s->grabWindow(0));
    p.end();
    m_bmpSnapshot = TimeLimit::Dimmed(picture);
}

void CLockScreenDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    takeSnapshot();
    m_startTimer.start(kStartDelayMs, this);
    setGeometry(CoveredArea());
    update();
}

void CLockScreenDlg::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_bmpSnapshot);
}

void CLockScreenDlg::timerEvent(QTimerEvent* event)
{
    if (g_nPromptGuard && event->timerId() == m_startTimer.timerId()) {
        m_startTimer.stop();
        g_nPromptGuard = 0;
        CTimeUpDlg prompt(this);
        prompt.exec();
        m_nGrantedMinutes = prompt.ExtensionMinutes();
        accept();
        g_nPromptGuard = 1;
        return;
    }
    QDialog::timerEvent(event);
}

void CLockScreenDlg::reject()
{
    // Escape does not lift the lock.
}

void CLockScreenDlg::closeEvent(QCloseEvent* event)
{
    if (result() != QDialog::Accepted)
        event->ignore();
}
