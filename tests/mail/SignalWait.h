#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>

// Runs the event loop until ready() holds, looking at it again each time sender emits
// signal; false when timeoutMs pass first. Nothing polls: the loop sleeps until an event
// comes.
template <typename Sender, typename Signal>
bool waitUntil(const Sender* sender, Signal signal, const std::function<bool()>& ready,
               int timeoutMs = 5000) {
    if (ready())
        return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(sender, signal, &loop, [&] {
        if (ready())
            loop.quit();
    });
    timer.start(timeoutMs);
    loop.exec();
    return ready();
}
