#include "platform/qt/SingleInstance.h"

#include "platform/Log.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cerrno>
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
constexpr qint64 kLongestRequest = 64;
const QByteArray kDone = "done\n";
const QByteArray kRefused = "refused\n";

// A socket of another user may sit under the same name in a shared folder; only a program
// of this user counts as running.
bool peerIsThisUser(const QLocalSocket& socket)
{
    struct ucred peer {};
    socklen_t length = sizeof peer;
    return getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == getuid();
}

} // namespace

SingleInstance::SingleInstance(Log& log, QString serverName) : log_(log), name_(std::move(serverName)) {}

SingleInstance::~SingleInstance()
{
    if (lockFd_ >= 0)
        close(lockFd_);
}

bool SingleInstance::lock()
{
    // Next to the socket: $XDG_RUNTIME_DIR, or the temporary folder QLocalServer uses for a bare name.
    const QString path = (QDir::isAbsolutePath(name_) ? name_ : QDir::tempPath() + QLatin1Char('/') + name_) +
                         QStringLiteral(".lock");
    const QByteArray local = path.toLocal8Bit();
    const int fd = open(local.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_uid != getuid()) {
        log_.line("The lock file " + path.toStdString() + " cannot be used; starting anyway");
        if (fd >= 0)
            close(fd);
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    lockFd_ = fd;
    return true;
}

QString SingleInstance::defaultServerName()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/brindlewick");
    return QStringLiteral("brindlewick-%1").arg(getuid());
}

bool SingleInstance::tellRunningInstance(int waitMilliseconds)
{
    return ask("reopen", waitMilliseconds) == std::string(kDone.constData());
}

std::optional<std::string> SingleInstance::ask(const std::string& request, int waitMilliseconds)
{
    QLocalSocket socket;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        socket.connectToServer(name_);
        if (socket.waitForConnected(kWaitMilliseconds))
            break;
        if (waited.elapsed() >= waitMilliseconds)
            return std::nullopt;
        QThread::msleep(50);
    }
    if (!peerIsThisUser(socket)) {
        log_.line("The reopen socket " + name_.toStdString() + " belongs to another user; starting anyway");
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
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::serveOne);
    // Whoever holds the lock owns the name: a socket there is left over from a program that
    // did not end cleanly.
    if (lockFd_ >= 0)
        QLocalServer::removeServer(name_);
    if (server_->listen(name_))
        return true;
    QLocalServer::removeServer(name_);
    if (server_->listen(name_))
        return true;
    log_.line("Cannot listen on " + name_.toStdString() + " (" + server_->errorString().toStdString() +
              "); a second start will not reach this one");
    return false;
}

void SingleInstance::serveOne()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine() && socket->bytesAvailable() < kLongestRequest)
                return;
            QByteArray request = socket->readLine(kLongestRequest);
            std::string answer;
            if (request.endsWith('\n') && peerIsThisUser(*socket)) {
                request.chop(1);
                answer = answer_(request.toStdString());
            }
            socket->write(answer.empty() ? kRefused : QByteArray::fromStdString(answer));
            socket->disconnectFromServer();
        });
    }
}

} // namespace bw::qt
