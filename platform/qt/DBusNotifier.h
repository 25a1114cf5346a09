#pragma once
#include "platform/Notifier.h"

#include <QDBusConnection>
#include <QObject>
#include <functional>

namespace bw::qt {

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

    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";

private:
    void send(const std::string& summary, const std::string& body, bool markup);

    Fallback fallback_;
    QDBusConnection bus_;
};

} // namespace bw::qt
