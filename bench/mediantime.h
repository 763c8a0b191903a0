#pragma once

#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <functional>

// The median wall time of \a runs calls of \a work, in milliseconds: one
// slow run (a page fault, another build taking the core) moves it little.
inline double medianMs(int runs, const std::function<void()> &work)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
