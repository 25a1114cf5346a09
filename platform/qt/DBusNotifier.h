#pragma once
#include "platform/Notifier.h"

#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QObject>
#include <functional>
#include <memory>
#include <set>

namespace bw::qt {

// The signals of the notification service that the program listens to; connecting to one
// subscribes to it on the bus.
class NotificationSignals final : public QDBusAbstractInterface {
    Q_OBJECT
public:
    explicit NotificationSignals(const QDBusConnection& bus, QObject* parent);
signals:
    void ActionInvoked(uint id, const QString& actionKey);
    void NotificationClosed(uint id, uint reason);
};

// Notifications through org.freedesktop.Notifications on the session bus. Where no service
// answers (none registered, or the call fails), `fallback` shows them instead, for example
// as the tray icon's message. Bodies are plain text: control characters are written out as
// in the log, and for a server that reads markup, "&", "<" and ">" are escaped.
class DBusNotifier final : public QObject, public Notifier {
    Q_OBJECT
public:
    using Fallback = std::function<void(const std::string& summary, const std::string& body)>;

    explicit DBusNotifier(Fallback fallback, QDBusConnection bus = QDBusConnection::sessionBus());
    void notify(const std::string& summary, const std::string& body) override;
    // Every later notification offers a "Show" action (and a click on it) that runs `show`
    // on the main thread.
    void setShowAction(std::function<void()> show);

    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";

private:
    void send(const std::string& summary, const std::string& body, bool markup);

    Fallback fallback_;
    QDBusConnection bus_;
    std::function<void()> show_;
    std::unique_ptr<NotificationSignals> signals_;
    // Notifications of this program still on screen: the service tells every client of
    // every action, so only these are answered.
    std::set<uint> shown_;
};

} // namespace bw::qt
