#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace bw {
class Log;
}

namespace bw::qt {

// One running program per user: the one that holds a lock on a file next to the socket.
// A later start, or the command line, reaches it over a local socket: it sends one request
// line, the running program answers with some text and closes the connection.
//
// Lock and socket live in a folder that no one else can hold: $XDG_RUNTIME_DIR where it is
// a real folder of the user's with no access for others, else a folder of the same kind
// that the program makes for itself in the temporary folder. The folder is checked and then
// reached through its descriptor only, so that a folder swapped in later is never used.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // The answer to one request line (without its line feed); empty: refused.
    using Answer = std::function<std::string(const std::string& request)>;

    // How long to wait for an answer: a program that holds the lock may still be starting up.
    static constexpr int kStartingWait = 10000; // milliseconds
    // What one connection may take: a client that sends nothing, or reads nothing, for this
    // long is let go; more connections than this at once are closed at once.
    static constexpr int kIdleMilliseconds = 5000;
    static constexpr int kMostConnections = 16;
    static constexpr qint64 kLongestRequest = 64; // bytes of a request line, its line feed included

    enum class Lock {
        Taken, // this is the one running program
        Held, // another program of this user runs
        Unavailable, // no folder of the user's own can be had: neither may run
    };

    // `name` is the socket's file name in that folder; the lock's adds ".lock".
    explicit SingleInstance(Log& log, QString name = QStringLiteral("brindlewick"));
    ~SingleInstance() override;

    // Takes the lock that makes this the one running program. Unavailable is logged.
    Lock lock();
    // True when a running program of this user took the request: this one should end. One
    // that holds the lock but does not listen yet is waited for, up to `waitMilliseconds`.
    bool tellRunningInstance(int waitMilliseconds = 0);
    // The running program's answer to `request`; none when no program of this user answers
    // (one that is starting is waited for, up to `waitMilliseconds`), or it refused.
    std::optional<std::string> ask(const std::string& request, int waitMilliseconds = 0);
    // Serves the requests of later starts; false (logged) when the name cannot be had.
    bool listen(Answer answer);

    // The folder in use once lock() found one; empty before or without one.
    const std::string& folder() const { return folder_; }

private:
    // Opens the folder (once); false when none of the user's own can be had.
    bool openFolder();
    // The socket's path through the folder's descriptor, immune to a rename of the folder.
    QString socketPath() const;
    void serveOne();
    void serve(QLocalSocket* socket);

    Log& log_;
    QString name_;
    std::string folder_;
    int folderFd_ = -1;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
    int connections_ = 0;
    Answer answer_;
};

} // namespace bw::qt
