#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace bw {
class Log;
}

namespace bw::qt {

// One running program per user. A second start reaches the first over a local socket,
// asks it to reopen, and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(Log& log, QString serverName = defaultServerName());
    ~SingleInstance() override;

    // In $XDG_RUNTIME_DIR (private to the user) when there is one, else named with the uid.
    static QString defaultServerName();

    // True when a running program of this user took the request: this one should end.
    bool tellRunningInstance();
    // Serves the requests of later starts; false (logged) when the name cannot be had.
    bool listen(std::function<void()> reopen);

private:
    void serveOne();

    Log& log_;
    QString name_;
    QLocalServer* server_ = nullptr;
    std::function<void()> reopen_;
};

} // namespace bw::qt
