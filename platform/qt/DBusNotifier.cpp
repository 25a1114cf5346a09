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

const QString kObjectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kShowKey = QStringLiteral("show");
// The action a click on the notification itself invokes.
const QString kDefaultKey = QStringLiteral("default");

} // namespace

NotificationSignals::NotificationSignals(const QDBusConnection& bus, QObject* parent)
    : QDBusAbstractInterface(QString::fromLatin1(DBusNotifier::kService), kObjectPath, DBusNotifier::kService, bus,
                             parent)
{
}

void DBusNotifier::setShowAction(std::function<void()> show)
{
    show_ = std::move(show);
    if (signals_ || !bus_.isConnected())
        return;
    signals_ = std::make_unique<NotificationSignals>(bus_, nullptr);
    connect(signals_.get(), &NotificationSignals::ActionInvoked, this, [this](uint id, const QString& key) {
        if (shown_.count(id) && (key == kShowKey || key == kDefaultKey) && show_)
            show_();
    });
    connect(signals_.get(), &NotificationSignals::NotificationClosed, this, [this](uint id, uint) { shown_.erase(id); });
}

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
    QDBusMessage call = QDBusMessage::createMethodCall(service, kObjectPath, service, QStringLiteral("Notify"));
    const QStringList actions = show_ ? QStringList{kDefaultKey, QStringLiteral("Show"), kShowKey, QStringLiteral("Show")}
                                      : QStringList();
    call << QStringLiteral("Brindlewick") << 0u << QStringLiteral("brindlewick") << QString::fromStdString(summary)
         << QString::fromStdString(body) << actions << QVariantMap() << kExpireTimeout;
    // Asynchronous: a slow service never holds up the main loop. A failed call falls back.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, summary, body](QDBusPendingCallWatcher* done) {
        const QDBusPendingReply<uint> reply = *done;
        if (done->isError() && fallback_)
            fallback_(summary, body);
        else if (!done->isError() && show_)
            shown_.insert(reply.value());
        done->deleteLater();
    });
}

} // namespace bw::qt
