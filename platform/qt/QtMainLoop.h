#pragma once
#include "platform/MainLoop.h"

#include <QObject>
#include <map>

class QTimer;

namespace bw::qt {

// The Qt event loop of the main thread. Must be created on that thread.
class QtMainLoop final : public QObject, public MainLoop {
    Q_OBJECT
public:
    QtMainLoop();
    ~QtMainLoop() override;

    void post(std::function<void()> job) override;
    bool isMainThread() const override;
    TimerId startTimer(Seconds delay, std::function<void()> job) override;
    void cancelTimer(TimerId id) override;
    void quit() override;

private:
    TimerId nextId_ = 1;
    std::map<TimerId, QTimer*> timers_;
};

} // namespace bw::qt
