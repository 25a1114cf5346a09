#include "platform/qt/DBusNotifier.h"

#include "platform/Log.h"
#include "platform/qt/QtStrings.h"

#include <QCoreApplication>
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

const QString kShowKey = QStringLiteral("show");
// The action a click on the notification itself invokes.
const QString kDefaultKey = QStringLiteral("default");

} // namespace

NotificationSignals::NotificationSignals(const QDBusConnection& bus, QObject* parent)
    : QDBusAbstractInterface(QString::fromLatin1(DBusNotifier::kService), QString::fromLatin1(DBusNotifier::kPath), DBusNotifier::kService, bus,
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
    const QString showLabel = QCoreApplication::translate(QtStrings::kContext, "Show");
    const QStringList actions = show_ ? QStringList{kDefaultKey, showLabel, kShowKey, showLabel} : QStringList();
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, QString::fromLatin1(kPath), service, QStringLiteral("Notify"));
    call << QStringLiteral("Brindlewick") << 0u << QStringLiteral("brindlewick") << QString::fromStdString(summary)
         << (markup ? markupEscaped(text) : text) << actions << QVariantMap() << kExpireTimeout;
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
