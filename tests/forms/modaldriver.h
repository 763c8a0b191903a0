#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace ferncastle::test {

// Runs action on the next modal window to show, other than notThis, from
// inside the event loop that the window's exec() runs. Gives up after five
// seconds so that a test waiting for a window that never comes fails rather
// than hangs.
inline void whenModalShown(std::function<void(QWidget *)> action,
                           const QWidget *notThis = nullptr)
{
    auto *timer = new QTimer(qApp);
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        const bool shown = modal && modal != notThis && modal->isVisible();
        if (!shown && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        if (shown)
            action(modal);
    });
    timer->start(10);
}

} // namespace ferncastle::test
