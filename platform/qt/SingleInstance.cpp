#include "platform/qt/SingleInstance.h"

#include "platform/Log.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <sys/socket.h>
#include <unistd.h>

namespace bw::qt {

namespace {

constexpr int kWaitMilliseconds = 2000;
const QByteArray kReopen = "reopen\n";
const QByteArray kDone = "done\n";

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

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/brindlewick");
    return QStringLiteral("brindlewick-%1").arg(getuid());
}

bool SingleInstance::tellRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMilliseconds))
        return false;
    if (!peerIsThisUser(socket)) {
        log_.line("The reopen socket " + name_.toStdString() + " belongs to another user; starting anyway");
        return false;
    }
    socket.write(kReopen);
    socket.waitForBytesWritten(kWaitMilliseconds);
    return socket.waitForReadyRead(kWaitMilliseconds) && socket.readAll().startsWith(kDone);
}

bool SingleInstance::listen(std::function<void()> reopen)
{
    reopen_ = std::move(reopen);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::serveOne);
    if (server_->listen(name_))
        return true;
    // Left over from a program that did not end cleanly: nobody answered on it.
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
            if (!socket->canReadLine())
                return;
            const bool reopen = socket->readLine() == kReopen && peerIsThisUser(*socket);
            if (reopen)
                reopen_();
            socket->write(reopen ? kDone : QByteArray("refused\n"));
            socket->disconnectFromServer();
        });
    }
}

} // namespace bw::qt
