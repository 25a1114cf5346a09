#include "platform/qt/DBusNotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace bw::qt {

namespace {

// How long a notification stays, in milliseconds.
constexpr int kExpireTimeout = 8000;

} // namespace

DBusNotifier::DBusNotifier(Fallback fallback, QDBusConnection bus) : fallback_(std::move(fallback)), bus_(std::move(bus))
{
}

void DBusNotifier::notify(const std::string& summary, const std::string& body)
{
    const QString service = QString::fromLatin1(kService);
    const bool served = bus_.isConnected() && bus_.interface() && bus_.interface()->isServiceRegistered(service);
    if (!served) {
        if (fallback_)
            fallback_(summary, body);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                                       service, QStringLiteral("Notify"));
    call << QStringLiteral("Brindlewick") << 0u << QStringLiteral("brindlewick") << QString::fromStdString(summary)
         << QString::fromStdString(body) << QStringList() << QVariantMap() << kExpireTimeout;
    // Asynchronous: a slow service never holds up the main loop. A failed call falls back.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, summary, body](QDBusPendingCallWatcher* done) {
        if (done->isError() && fallback_)
            fallback_(summary, body);
        done->deleteLater();
    });
}

} // namespace bw::qt
