#pragma once

#include <QBasicTimer>
#include <QDialog>
#include <QImage>

#include <functional>

// Covers every screen with a dimmed still picture of what it showed, and a moment
// later asks for the parents' password and more minutes. Ends only when they are given.
class CLockScreenDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLockScreenDlg(QWidget* parent = nullptr);

    int GrantedMinutes() const { return m_nGrantedMinutes; }
    const QImage& Snapshot() const { return m_bmpSnapshot; }

    // What covers the desktop: every screen's area joined, 3 pixels more to the right and below.
    static QRect CoveredArea();
    // True while no time-up dialog is open; only one is ever asked at a time.
    static bool PromptGuard();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void takeSnapshot();

    int m_nGrantedMinutes = 0;
    QImage m_bmpSnapshot;
    QBasicTimer m_startTimer;
};
