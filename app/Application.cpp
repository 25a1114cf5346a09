#include "app/Application.h"

#include "app/CommandLine.h"
#include "app/Controllers.h"
#include "app/Desktop.h"
#include "platform/posix/SyslogLog.h"
#include "platform/qt/QtStatusItem.h"
#include "platform/qt/QtStatusMenu.h"
#include "platform/qt/QuitSignals.h"
#include "platform/qt/SingleInstance.h"
#include "platform/qt/TrashFeed.h"
#include "platform/x11/X11ModifierKeys.h"

#include <QApplication>
#include <memory>

namespace bw {

namespace {

// Whether windows and a tray can be had: a platform asked for by name, a Wayland session,
// or an X display that answers. Without one the program runs headless.
bool hasDisplay(bool x11Answers)
{
    return x11Answers || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
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
    // The tray program takes no arguments; any argument is a command.
    if (argc > 1)
        return runCommandLine(argc, argv);
    posix::SyslogLog log;
    auto displayKeys = x11::X11ModifierKeys::open();
    const bool display = hasDisplay(displayKeys != nullptr);
    auto app = makeApplication(display, argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brindlewick"));

    // Of several started at once exactly one runs: the one that holds the lock. The others
    // hand it their request, waiting while it starts, and end without error.
    qt::SingleInstance instance(log);
    if (!instance.lock()) {
        if (instance.tellRunningInstance(qt::SingleInstance::kStartingWait))
            log.line("Already running; that program checks the trashes now");
        else
            log.line("Already running, but that program did not answer");
        return 0;
    }

    Desktop desktop(*app, log, std::move(displayKeys), display);
    Controllers::registerDefaults(desktop.defaults);
    Controllers controllers(desktop.platform);
    Manager& manager = controllers.manager;

    // The status menu, opened from the tray icon.
    std::unique_ptr<qt::QtStatusMenu> statusMenu;
    if (auto* trayItem = dynamic_cast<qt::QtStatusItem*>(desktop.statusItem.get())) {
        statusMenu = std::make_unique<qt::QtStatusMenu>();
        manager.attachMenu(*statusMenu);
        trayItem->setMenu(statusMenu->menu());
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

    controllers.awakeFromNib();
    feed.start();
    manager.applicationDidFinishLaunching();
    manager.startSpacePoll();
    const int status = app->exec();

    manager.applicationWillTerminate();
    desktop.workers.requestQuit();
    // A worker in the kernel on a volume that does not answer is left behind.
    desktop.workers.waitForAll(Workers::kQuitWait);
    return status;
}

} // namespace bw
