#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace bw {
class Log;
}

namespace bw::qt {

// One running program per user: the one that holds a lock on a file next to the socket.
// A later start reaches it over a local socket, asks it to reopen, and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(Log& log, QString serverName = defaultServerName());
    ~SingleInstance() override;

    // In $XDG_RUNTIME_DIR (private to the user) when there is one, else named with the uid.
    static QString defaultServerName();

    // Takes the lock that makes this the one running program; false when another holds it.
    // Held until the object goes. A lock file of another user does not stop the start.
    bool lock();
    // True when a running program of this user took the request: this one should end. One
    // that holds the lock but does not listen yet is waited for, up to `waitMilliseconds`.
    bool tellRunningInstance(int waitMilliseconds = 0);
    // Serves the requests of later starts; false (logged) when the name cannot be had.
    bool listen(std::function<void()> reopen);

private:
    void serveOne();

    Log& log_;
    QString name_;
    QLocalServer* server_ = nullptr;
    int lockFd_ = -1;
    std::function<void()> reopen_;
};

} // namespace bw::qt
