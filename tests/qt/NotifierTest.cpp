#include "platform/qt/DBusNotifier.h"
#include "tests/qt/QtTestApp.h"

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QVariantMap>

namespace bw::test {

// The notification service's one method that the program calls, recording what it is given.
class StandInNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList received;
    QStringList capabilities{QStringLiteral("body")};
    QStringList lastActions;

public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString& appName, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int)
    {
        received << appName + "|" + summary + "|" + body;
        lastActions = actions;
        return static_cast<uint>(received.size());
    }
};

namespace {

// A session bus of the test's own, ended with it.
class PrivateBus {
public:
    PrivateBus()
    {
        daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

TEST(DBusNotifier, TheServiceGetsTheNotificationAndWithoutOneTheFallbackDoes)
{
    qtApp();
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "no dbus-daemon";
    QDBusConnection service = QDBusConnection::connectToBus(bus.address(), QStringLiteral("service"));
    QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("client"));
    ASSERT_TRUE(service.isConnected() && client.isConnected());

    std::vector<std::string> fellBack;
    qt::DBusNotifier notifier([&](const std::string& summary, const std::string& body) { fellBack.push_back(summary + "|" + body); },
                              client);
    // No service yet: the fallback shows it.
    notifier.notify("Trash emptied", "Deleted 3 items");
    EXPECT_EQ(fellBack, std::vector<std::string>{"Trash emptied|Deleted 3 items"});

    StandInNotifications standIn;
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &standIn,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QString::fromLatin1(qt::DBusNotifier::kService)));
    runEvents(2000, [&] { return client.interface()->isServiceRegistered(qt::DBusNotifier::kService).value(); });
    notifier.notify("Trash items deleted", "Deleted 1 item (10 bytes) from the trash on h\xc3\xa9me");
    runEvents(5000, [&] { return !standIn.received.isEmpty(); });
    EXPECT_EQ(standIn.received,
              QStringList{QString::fromUtf8("Brindlewick|Trash items deleted|Deleted 1 item (10 bytes) from the trash on h\xc3\xa9me")});
    EXPECT_EQ(fellBack.size(), 1u);

    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
}

TEST(DBusNotifier, ABodyIsPlainTextWhateverTheServerReads)
{
    qtApp();
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "no dbus-daemon";
    QDBusConnection service = QDBusConnection::connectToBus(bus.address(), QStringLiteral("service"));
    QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("client"));
    ASSERT_TRUE(service.isConnected() && client.isConnected());

    // A volume named to look like markup and a second line of the program's own.
    const std::string forged =
        "Deleted 1 item (10 bytes) from the trash on <b>HOME <a href=\"http://x/?a=1&b=2\"><img src=x></a>"
        "\nFAKE: all trashes restored";
    std::vector<std::string> fellBack;
    qt::DBusNotifier notifier([&](const std::string& summary, const std::string& body) { fellBack.push_back(summary + "|" + body); },
                              client);
    notifier.notify("Trash items deleted", forged);
    ASSERT_EQ(fellBack.size(), 1u);
    EXPECT_EQ(fellBack[0], "Trash items deleted|Deleted 1 item (10 bytes) from the trash on <b>HOME "
                           "<a href=\"http://x/?a=1&b=2\"><img src=x></a>\\nFAKE: all trashes restored");

    StandInNotifications standIn;
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &standIn,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QString::fromLatin1(qt::DBusNotifier::kService)));
    runEvents(2000, [&] { return client.interface()->isServiceRegistered(qt::DBusNotifier::kService).value(); });

    // A server that reads markup (dunst, for example) gets entities; one that does not, the text.
    standIn.capabilities = QStringList{QStringLiteral("body"), QStringLiteral("body-markup")};
    notifier.notify("Trash items deleted", forged);
    runEvents(5000, [&] { return standIn.received.size() == 1; });
    standIn.capabilities = QStringList{QStringLiteral("body")};
    notifier.notify("Trash items deleted", forged);
    runEvents(5000, [&] { return standIn.received.size() == 2; });
    ASSERT_EQ(standIn.received.size(), 2);
    EXPECT_EQ(standIn.received[0],
              QStringLiteral("Brindlewick|Trash items deleted|Deleted 1 item (10 bytes) from the trash on &lt;b&gt;HOME "
                             "&lt;a href=\"http://x/?a=1&amp;b=2\"&gt;&lt;img src=x&gt;&lt;/a&gt;\\nFAKE: all trashes "
                             "restored"));
    EXPECT_EQ(standIn.received[1],
              QStringLiteral("Brindlewick|Trash items deleted|Deleted 1 item (10 bytes) from the trash on <b>HOME "
                             "<a href=\"http://x/?a=1&b=2\"><img src=x></a>\\nFAKE: all trashes restored"));
    EXPECT_EQ(fellBack.size(), 1u);

    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
}

// The pass's notification offers "Show"; choosing it, or clicking the notification, runs the
// action once, and so does nothing of another program's notification or after it closed.
TEST(DBusNotifier, ShowOnTheNotificationRunsTheActionForItsOwnNotificationsOnly)
{
    qtApp();
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "no dbus-daemon";
    QDBusConnection service = QDBusConnection::connectToBus(bus.address(), QStringLiteral("service"));
    QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("client"));
    ASSERT_TRUE(service.isConnected() && client.isConnected());
    StandInNotifications standIn;
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &standIn,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QString::fromLatin1(qt::DBusNotifier::kService)));
    runEvents(2000, [&] { return client.interface()->isServiceRegistered(qt::DBusNotifier::kService).value(); });

    int shown = 0;
    qt::DBusNotifier notifier(nullptr, client);
    notifier.setShowAction([&] { ++shown; });
    notifier.notify("Trash items deleted", "Deleted 2 items");
    runEvents(5000, [&] { return !standIn.received.isEmpty(); });
    EXPECT_TRUE(standIn.lastActions.contains(QStringLiteral("show")));
    EXPECT_EQ(standIn.lastActions.size() % 2, 0);
    const uint ours = static_cast<uint>(standIn.received.size());
    // Its reply with the id arrives before anyone can choose an action.
    runEvents(300, [] { return false; });

    const auto emitSignal = [&](const char* name, const QVariantList& arguments) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                         QString::fromLatin1(qt::DBusNotifier::kService),
                                                         QString::fromLatin1(name));
        signal.setArguments(arguments);
        ASSERT_TRUE(service.send(signal));
    };
    emitSignal("ActionInvoked", {ours + 7, QStringLiteral("show")});
    emitSignal("ActionInvoked", {ours, QStringLiteral("show")});
    runEvents(5000, [&] { return shown > 0; });
    runEvents(200, [] { return false; });
    EXPECT_EQ(shown, 1);
    emitSignal("ActionInvoked", {ours, QStringLiteral("default")});
    runEvents(5000, [&] { return shown > 1; });
    EXPECT_EQ(shown, 2);
    emitSignal("NotificationClosed", {ours, 2u});
    emitSignal("ActionInvoked", {ours, QStringLiteral("show")});
    runEvents(500, [] { return false; });
    EXPECT_EQ(shown, 2);

    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
}

} // namespace
} // namespace bw::test

#include "NotifierTest.moc"
