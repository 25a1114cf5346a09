#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace bw {
class Log;
}

namespace bw::qt {

// SIGTERM, SIGINT and SIGHUP end the program like the menu's quit: the handler only writes the
// signal's number into a pipe, and the main loop reads it and quits.
class QuitSignals final : public QObject {
    Q_OBJECT
public:
    QuitSignals(Log& log, std::function<void()> quit);
    ~QuitSignals() override;

private:
    void readSignal();

    Log& log_;
    std::function<void()> quit_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace bw::qt
