#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QLocalServer;

namespace bw {
class Log;
}

namespace bw::qt {

// One running program per user: the one that holds a lock on a file next to the socket.
// A later start, or the command line, reaches it over a local socket: it sends one request
// line, the running program answers with some text and closes the connection.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // The answer to one request line (without its line feed); empty: refused.
    using Answer = std::function<std::string(const std::string& request)>;

    // How long to wait for an answer: a program that holds the lock may still be starting up.
    static constexpr int kStartingWait = 10000; // milliseconds

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
    // The running program's answer to `request`; none when no program of this user answers
    // (one that is starting is waited for, up to `waitMilliseconds`), or it refused.
    std::optional<std::string> ask(const std::string& request, int waitMilliseconds = 0);
    // Serves the requests of later starts; false (logged) when the name cannot be had.
    bool listen(Answer answer);

private:
    void serveOne();

    Log& log_;
    QString name_;
    QLocalServer* server_ = nullptr;
    int lockFd_ = -1;
    Answer answer_;
};

} // namespace bw::qt
