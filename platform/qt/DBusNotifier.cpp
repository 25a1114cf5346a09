#include "platform/qt/DBusNotifier.h"

#include "platform/Log.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace bw::qt {

namespace {

// How long a notification stays, in milliseconds.
constexpr int kExpireTimeout = 8000;

// A server that announces "body-markup" reads the body as a small HTML; names in it (a
// volume's, a file's) must show as text, never as tags or links.
QString markupEscaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('&'))
            escaped += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            escaped += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            escaped += QStringLiteral("&gt;");
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

DBusNotifier::DBusNotifier(Fallback fallback, QDBusConnection bus) : fallback_(std::move(fallback)), bus_(std::move(bus))
{
}

void DBusNotifier::notify(const std::string& summary, const std::string& body)
{
    // As in the log: a line feed in a name cannot start a forged line of its own.
    const std::string plainSummary = escapeControlCharacters(summary);
    const std::string plainBody = escapeControlCharacters(body);
    const QString service = QString::fromLatin1(kService);
    const bool served = bus_.isConnected() && bus_.interface() && bus_.interface()->isServiceRegistered(service);
    if (!served) {
        if (fallback_)
            fallback_(plainSummary, plainBody);
        return;
    }
    // Asynchronous: a slow service never holds up the main loop. A failed call falls back.
    const QDBusMessage capabilities = QDBusMessage::createMethodCall(
        service, QString::fromLatin1(kPath), service, QStringLiteral("GetCapabilities"));
    auto* asked = new QDBusPendingCallWatcher(bus_.asyncCall(capabilities), this);
    connect(asked, &QDBusPendingCallWatcher::finished, this,
            [this, plainSummary, plainBody](QDBusPendingCallWatcher* done) {
                const QDBusPendingReply<QStringList> reply = *done;
                // A server that does not say is taken to read markup: escaped text shows at
                // worst an entity, never a tag.
                const bool markup = reply.isError() || reply.value().contains(QStringLiteral("body-markup"));
                send(plainSummary, plainBody, markup);
                done->deleteLater();
            });
}

void DBusNotifier::send(const std::string& summary, const std::string& body, bool markup)
{
    const QString service = QString::fromLatin1(kService);
    const QString text = QString::fromStdString(body);
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, QString::fromLatin1(kPath), service, QStringLiteral("Notify"));
    call << QStringLiteral("Brindlewick") << 0u << QStringLiteral("brindlewick") << QString::fromStdString(summary)
         << (markup ? markupEscaped(text) : text) << QStringList() << QVariantMap() << kExpireTimeout;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, summary, body](QDBusPendingCallWatcher* done) {
        if (done->isError() && fallback_)
            fallback_(summary, body);
        done->deleteLater();
    });
}

} // namespace bw::qt
