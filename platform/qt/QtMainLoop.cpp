#include "platform/qt/QtMainLoop.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <chrono>

namespace bw::qt {

QtMainLoop::QtMainLoop() = default;

QtMainLoop::~QtMainLoop()
{
    for (auto& [id, timer] : timers_)
        delete timer;
}

void QtMainLoop::post(std::function<void()> job)
{
    QMetaObject::invokeMethod(this, std::move(job), Qt::QueuedConnection);
}

bool QtMainLoop::isMainThread() const
{
    return QThread::currentThread() == thread();
}

MainLoop::TimerId QtMainLoop::startTimer(Seconds delay, std::function<void()> job)
{
    const TimerId id = nextId_++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::CoarseTimer);
    connect(timer, &QTimer::timeout, this, [this, id, job = std::move(job)] {
        // The job may start or cancel timers, this one included; it owns nothing of the timer.
        if (auto it = timers_.find(id); it != timers_.end()) {
            it->second->deleteLater();
            timers_.erase(it);
        }
        job();
    });
    timers_[id] = timer;
    timer->start(std::chrono::duration_cast<std::chrono::milliseconds>(delay));
    return id;
}

void QtMainLoop::cancelTimer(TimerId id)
{
    if (auto it = timers_.find(id); it != timers_.end()) {
        it->second->stop();
        it->second->deleteLater();
        timers_.erase(it);
    }
}

void QtMainLoop::quit()
{
    QCoreApplication::quit();
}

} // namespace bw::qt
