#include "platform/qt/SingleInstance.h"

#include "platform/Format.h"
#include "platform/Log.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::qt {

namespace {

constexpr int kWaitMilliseconds = 2000;
// A status answer is a whole measurement away when the running program is busy.
constexpr int kAnswerMilliseconds = 30000;
const QByteArray kDone = "done\n";
const QByteArray kRefused = "refused\n";

// A socket of another user may sit under the same name; only a program of this user counts
// as running.
bool peerIsThisUser(const QLocalSocket& socket)
{
    struct ucred peer {};
    socklen_t length = sizeof peer;
    return getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == getuid();
}

// `path` opened as a real folder (a link is refused) of this user that no one else may
// enter or change; -1 with the reason otherwise.
int openPrivateFolder(const std::string& path, std::string& why)
{
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (fd < 0) {
        why = errno == ELOOP || errno == ENOTDIR ? "is not a folder" : strerror(errno);
    } else if (fstat(fd, &st) != 0) {
        why = strerror(errno);
    } else if (st.st_uid != getuid()) {
        why = "belongs to another user";
    } else if ((st.st_mode & 07777) != 0700) {
        why = strprintf("has mode %04o, not 0700", static_cast<unsigned>(st.st_mode & 07777));
    } else {
        return fd;
    }
    if (fd >= 0)
        close(fd);
    return -1;
}

} // namespace

SingleInstance::SingleInstance(Log& log, QString name) : log_(log), name_(std::move(name)) {}

SingleInstance::~SingleInstance()
{
    // The server's socket goes before the folder it is reached through.
    delete server_;
    server_ = nullptr;
    if (lockFd_ >= 0)
        close(lockFd_);
    if (folderFd_ >= 0)
        close(folderFd_);
}

bool SingleInstance::openFolder()
{
    if (folderFd_ >= 0)
        return true;
    std::string why;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && runtime.startsWith('/')) {
        folderFd_ = openPrivateFolder(runtime.toStdString(), why);
        if (folderFd_ >= 0) {
            folder_ = runtime.toStdString();
            return true;
        }
    }
    // A folder of its own in the shared temporary folder, made private from the start; one
    // that someone else made first under the name is never used.
    const std::string own =
        strprintf("%s/brindlewick-%u", QDir::tempPath().toLocal8Bit().constData(), static_cast<unsigned>(getuid()));
    // Earlier versions put their socket itself under this name; one of the user's own that
    // is no folder goes.
    struct stat st {};
    if (lstat(own.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && st.st_uid == getuid())
        unlink(own.c_str());
    if (mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
        why = strerror(errno);
    } else {
        folderFd_ = openPrivateFolder(own, why);
        if (folderFd_ >= 0) {
            folder_ = own;
            return true;
        }
    }
    log_.line(strprintf("No private folder for the lock and the socket: $XDG_RUNTIME_DIR is %s, and %s %s; "
                        "Brindlewick cannot tell whether it already runs and does not start",
                        runtime.isEmpty() ? "unset" : ("\"" + runtime.toStdString() + "\" and not private").c_str(),
                        own.c_str(), why.c_str()));
    return false;
}

QString SingleInstance::socketPath() const
{
    return QStringLiteral("/proc/self/fd/%1/").arg(folderFd_) + name_;
}

SingleInstance::Lock SingleInstance::lock()
{
    if (!openFolder())
        return Lock::Unavailable;
    const QByteArray lockName = (name_ + QStringLiteral(".lock")).toLocal8Bit();
    const int fd = openat(folderFd_, lockName.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    const int error = fd < 0 ? errno : 0;
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != getuid()) {
        log_.line(strprintf("The lock file %s/%s cannot be used (%s); Brindlewick does not start", folder_.c_str(),
                            lockName.constData(), error ? strerror(error) : "not a file of this user's"));
        if (fd >= 0)
            close(fd);
        return Lock::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return Lock::Held;
    }
    lockFd_ = fd;
    return Lock::Taken;
}

bool SingleInstance::tellRunningInstance(int waitMilliseconds)
{
    return ask("reopen", waitMilliseconds) == std::string(kDone.constData());
}

std::optional<std::string> SingleInstance::ask(const std::string& request, int waitMilliseconds)
{
    if (!openFolder())
        return std::nullopt;
    QLocalSocket socket;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(kWaitMilliseconds))
            break;
        if (waited.elapsed() >= waitMilliseconds)
            return std::nullopt;
        QThread::msleep(50);
    }
    if (!peerIsThisUser(socket)) {
        log_.line(strprintf("The socket %s/%s belongs to another user; it is not asked", folder_.c_str(),
                            name_.toLocal8Bit().constData()));
        return std::nullopt;
    }
    socket.write(QByteArray::fromStdString(request) + '\n');
    socket.waitForBytesWritten(kWaitMilliseconds);
    // The answer ends when the running program closes the connection.
    QByteArray answer;
    while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(kAnswerMilliseconds))
        answer += socket.readAll();
    answer += socket.readAll();
    if (answer.isEmpty() || answer == kRefused)
        return std::nullopt;
    return answer.toStdString();
}

bool SingleInstance::listen(Answer answer)
{
    answer_ = std::move(answer);
    if (!openFolder())
        return false;
    const std::string shown = folder_ + "/" + name_.toStdString();
    server_ = new QLocalServer(this);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::serveOne);
    // Whoever holds the lock owns the name: a socket there is left over from a program that
    // did not end cleanly. The folder is private, so nothing of anyone else's is there.
    if (lockFd_ >= 0)
        unlinkat(folderFd_, name_.toLocal8Bit().constData(), 0);
    if (server_->listen(socketPath()))
        return true;
    log_.line("Cannot listen on " + shown + " (" + server_->errorString().toStdString() +
              "); a second start will not reach this one");
    return false;
}

void SingleInstance::serveOne()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (connections_ >= kMostConnections) {
            // Closed at once, so that held connections never take the descriptors that
            // deleting needs.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        serve(socket);
    }
}

void SingleInstance::serve(QLocalSocket* socket)
{
    ++connections_;
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Idle is without a byte either way: a client that neither sends its request nor takes
    // its answer is let go.
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(kIdleMilliseconds);
    connect(idle, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    connect(socket, &QLocalSocket::bytesWritten, idle, qOverload<>(&QTimer::start));
    idle->start();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, idle] {
        idle->start();
        if (!socket->canReadLine() && socket->bytesAvailable() < kLongestRequest)
            return;
        // One request a connection: what follows it is not read.
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        QByteArray request = socket->readLine(kLongestRequest + 1);
        std::string answer;
        if (request.endsWith('\n') && peerIsThisUser(*socket)) {
            request.chop(1);
            answer = answer_(request.toStdString());
        }
        socket->write(answer.empty() ? kRefused : QByteArray::fromStdString(answer));
        socket->disconnectFromServer();
    });
}

} // namespace bw::qt
