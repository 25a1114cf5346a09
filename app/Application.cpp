#include "app/Application.h"

#include "app/CommandLine.h"
#include "app/Controllers.h"
#include "app/Desktop.h"
#include "app/HistoryCommand.h"
#include "history/HistoryPanel.h"
#include "history/HistoryRecorder.h"
#include "platform/posix/SyslogLog.h"
#include "platform/qt/QtHistoryPanel.h"
#include "platform/qt/DisplayChoice.h"
#include "platform/qt/QtStatusItem.h"
#include "platform/qt/QtStatusMenu.h"
#include "platform/qt/QuitSignals.h"
#include "platform/qt/SingleInstance.h"
#include "platform/qt/TrashFeed.h"
#include "platform/x11/X11ModifierKeys.h"
#include "settings/SettingsKeys.h"

#include <QApplication>
#include <QTimer>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace bw {

namespace {

// How long a desktop has to show a tray before the information panel stands in for it.
constexpr int kTrayWaitMilliseconds = 10000;

// Chooses the platform before Qt starts, since Qt ends the process when the one it starts
// with fails. True when windows can be had; otherwise `why` names the display that was
// looked for, if any, and the program runs headless.
bool chooseDisplay(bool x11Answers, std::string& why)
{
    const qt::DisplaySession session = qt::currentDisplaySession(x11Answers);
    const std::string platform = qt::chooseDisplayPlatform(session, qt::platformPluginInstalled);
    if (platform.empty()) {
        std::vector<std::string> sought;
        if (!session.requested.empty())
            sought.push_back("QT_QPA_PLATFORM=" + session.requested + " cannot start");
        if (session.waylandAsked)
            sought.push_back("no Wayland compositor answers at WAYLAND_DISPLAY=" +
                             qEnvironmentVariable("WAYLAND_DISPLAY").toStdString());
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            sought.push_back("the X display " + qEnvironmentVariable("DISPLAY").toStdString() + " does not open");
        for (const auto& reason : sought)
            why += (why.empty() ? "" : ", ") + reason;
        return false;
    }
    qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platform));
    return true;
}

// "--verbose" alone starts the tray program with trace lines on.
bool takeVerbose(int& argc, char** argv)
{
    if (argc != 2 || std::strcmp(argv[1], "--verbose") != 0)
        return false;
    argc = 1;
    argv[1] = nullptr;
    return true;
}

std::unique_ptr<QCoreApplication> makeApplication(bool display, int& argc, char** argv)
{
    if (!display)
        return std::make_unique<QCoreApplication>(argc, argv);
    auto app = std::make_unique<QApplication>(argc, argv);
    // The tray program has no main window; closing a panel must not end it.
    app->setQuitOnLastWindowClosed(false);
    return app;
}

} // namespace

int runApplication(int argc, char** argv)
{
    // The tray program takes no arguments but --verbose; any other argument is a command.
    const bool verbose = takeVerbose(argc, argv);
    if (argc > 1)
        return runCommandLine(argc, argv);
    posix::SyslogLog log;
    auto displayKeys = x11::X11ModifierKeys::open();
    std::string headlessWhy;
    const bool display = chooseDisplay(displayKeys != nullptr, headlessWhy);
    // Only an X11 session reports the Alt key to a program without the focus.
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("xcb"))
        displayKeys.reset();
    auto app = makeApplication(display, argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brindlewick"));

    // Of several started at once exactly one runs: the one that holds the lock. The others
    // hand it their request, waiting while it starts, and end without error.
    qt::SingleInstance instance(log);
    const qt::SingleInstance::Lock lock = instance.lock();
    // Without a private folder a second program could run beside this one, or a stranger's
    // socket answer for it: better none.
    if (lock == qt::SingleInstance::Lock::Unavailable)
        return 1;
    if (lock == qt::SingleInstance::Lock::Held) {
        if (instance.tellRunningInstance(qt::SingleInstance::kStartingWait))
            log.line("Already running; that program checks the trashes now and shows its information panel "
                     "where it has a display");
        else
            log.line("Already running, but that program did not answer");
        return 0;
    }

    Desktop desktop(*app, log, std::move(displayKeys), display, headlessWhy);
    Controllers::registerDefaults(desktop.defaults);
    // Outlives the controllers: what the last deletions told it is committed at its end.
    HistoryRecorder history(historyDatabasePath(), log, desktop.clock);
    setTracing(verbose || desktop.defaults.boolForKey(keys::Verbose.name));
    Controllers controllers(desktop.platform);
    Manager& manager = controllers.manager;
    controllers.shredder.addDeletionListener(history);
    std::unique_ptr<qt::QtHistoryPanel> historyWindow;
    if (display)
        historyWindow = std::make_unique<qt::QtHistoryPanel>();
    HistoryPanel historyPanel(desktop.platform, historyWindow.get(), history.path());
    manager.wireHistory(historyPanel);
    if (auto* notifier = dynamic_cast<qt::DBusNotifier*>(desktop.notifier.get()))
        notifier->setShowAction([&historyPanel] { historyPanel.showHistory(); });

    // The status menu, opened from the tray icon.
    std::unique_ptr<qt::QtStatusMenu> statusMenu;
    if (auto* trayItem = dynamic_cast<qt::QtStatusItem*>(desktop.statusItem.get())) {
        statusMenu = std::make_unique<qt::QtStatusMenu>();
        manager.attachMenu(*statusMenu);
        trayItem->setMenu(statusMenu->menu());
    }

    // Without a tray the information panel is the program's window: it opens once the tray
    // had its time to appear, and at every later start from the application menu.
    QTimer trayWait;
    trayWait.setSingleShot(true);
    if (auto* trayItem = dynamic_cast<qt::QtStatusItem*>(desktop.statusItem.get())) {
        QObject::connect(&trayWait, &QTimer::timeout, trayItem, [trayItem, &manager, &log] {
            if (trayItem->isInTray())
                return;
            log.line("No system tray after 10 s: the information panel opens in its place");
            manager.actDispInformation();
        });
        trayWait.start(kTrayWaitMilliseconds);
    }

    instance.listen([&manager](const std::string& request) { return manager.answerRequest(request); });
    qt::QuitSignals quitSignals(log, [&manager] { manager.actQuit(); });
    qt::TrashFeed feed(
        [&controllers] {
            TrashWatch watch = controllers.internal.watchedFolders();
            watch.append(controllers.external.watchedFolders());
            return watch;
        },
        log, [&manager] { manager.trashChanged(kDirectoryNotification); });

    history.start(desktop.workers);
    controllers.awakeFromNib();
    feed.start();
    manager.applicationDidFinishLaunching();
    manager.startSpacePoll();
    const int status = app->exec();

    manager.applicationWillTerminate();
    desktop.workers.requestQuit();
    history.stop();
    // A worker in the kernel on a volume that does not answer is left behind.
    desktop.workers.waitForAll(Workers::kQuitWait);
    return status;
}

} // namespace bw
