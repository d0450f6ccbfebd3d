#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Runs `action` on the next modal dialog of type T once it is up; a dialog that never
// comes, or stays, is ended so the test fails instead of hanging.
template <typename T>
void onNextDialog(std::function<void(T*)> action, bool* seen)
{
    auto* poll = new QTimer;
    auto* waited = new int(0);
    QObject::connect(poll, &QTimer::timeout, [poll, waited, action, seen] {
        if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
            *seen = true;
            poll->stop();
            poll->deleteLater();
            delete waited;
            action(d);
            return;
        }
        if (++*waited > 500) {
            poll->stop();
            poll->deleteLater();
            delete waited;
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                d->done(QDialog::Rejected);
        }
    });
    poll->start(20);
}
