#include "app/Application.h"

#include "app/Controllers.h"
#include "platform/AlertPresenter.h"
#include "platform/HeadlessStatusItem.h"
#include "platform/Platform.h"
#include "platform/PrivilegedLauncher.h"
#include "platform/TrashItemChooser.h"
#include "platform/VolumeSource.h"
#include "platform/Workers.h"
#include "platform/posix/DesktopAutostart.h"
#include "platform/posix/MountinfoVolumeSource.h"
#include "platform/posix/PkexecLauncher.h"
#include "platform/posix/StatvfsSpaceSource.h"
#include "platform/posix/SyslogLog.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtAlertPresenter.h"
#include "platform/qt/QtClipboardSelection.h"
#include "platform/qt/QtDefaultsStore.h"
#include "platform/qt/QtInfoPanel.h"
#include "platform/qt/QtMainLoop.h"
#include "platform/qt/QtPrefsPanel.h"
#include "platform/qt/QtStatusItem.h"
#include "platform/qt/QtStatusMenu.h"
#include "platform/qt/QtStrings.h"
#include "platform/qt/QtTrashItemChooser.h"
#include "platform/qt/QuitSignals.h"
#include "platform/qt/SingleInstance.h"
#include "platform/qt/TrashFeed.h"
#include "platform/x11/X11ModifierKeys.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace bw {

namespace {

// A program that holds the single-instance lock may still be starting up.
constexpr int kStartingInstanceWait = 10000;

// Without a display there is no chooser to show: every choice is a cancel.
class CancellingItemChooser final : public TrashItemChooser {
public:
    std::optional<std::vector<std::string>> runModal(const TrashItemChooserContent&) override { return std::nullopt; }
};

// The installed repair helper; a program started from its build folder uses the one built
// beside it (pkexec then asks under its generic action, since the policy names the other).
std::string repairHelperPath()
{
    const std::string installed = posix::PkexecLauncher::defaultHelperPath();
    if (QFileInfo(QString::fromStdString(installed)).isExecutable())
        return installed;
    const QString built = QCoreApplication::applicationDirPath() +
                          QStringLiteral("/../privileges/" BRINDLEWICK_HELPER_NAME);
    return QFileInfo(built).isExecutable() ? QFileInfo(built).canonicalFilePath().toStdString() : installed;
}

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

// Where the freedesktop home trash lies; empty for the default.
std::string dataHomeFromEnvironment()
{
    return qEnvironmentVariable("XDG_DATA_HOME").toStdString();
}

// The desktop facilities, each alive as long as the controllers that use them.
struct Desktop {
    Desktop(QCoreApplication& app, posix::SyslogLog& log, std::unique_ptr<ModifierKeys> displayKeys, bool display)
        : defaults(qt::QtDefaultsStore::defaultFilePath(QDir::homePath()), log),
          keys(displayKeys ? std::move(displayKeys) : std::make_unique<NoModifierKeys>()),
          strings(app),
          volumes(currentTrashOwner(QDir::homePath().toStdString(), dataHomeFromEnvironment())),
          launcher(log, repairHelperPath()),
          autostart(posix::DesktopAutostart::defaultEntryFile(QDir::homePath().toStdString()),
                    posix::DesktopAutostart::runningProgram(), posix::DesktopAutostart::defaultSystemFolders())
    {
        if (display)
            statusItem = std::make_unique<qt::QtStatusItem>(log);
        else
            statusItem = std::make_unique<HeadlessStatusItem>(log);
        // The panels need a display; without one the controllers have none to open.
        // Alerts wait for the user; without a display their text goes to the log.
        if (display)
            alerts = std::make_unique<QtAlertPresenter>(log);
        else
            alerts = std::make_unique<LoggingAlertPresenter>(log);
        if (display) {
            prefsPanel = std::make_unique<qt::QtPrefsPanel>();
            infoPanel = std::make_unique<qt::QtInfoPanel>();
            itemChooser = std::make_unique<qt::QtTrashItemChooser>();
        } else {
            itemChooser = std::make_unique<CancellingItemChooser>();
        }
        platform.homeDirectory = QDir::homePath().toStdString();
        platform.dataHome = dataHomeFromEnvironment();
        platform.defaults = &defaults;
        platform.log = &log;
        platform.keys = keys.get();
        platform.clock = &clock;
        platform.workers = &workers;
        platform.space = &space;
        platform.strings = &strings;
        platform.itemChooser = itemChooser.get();
        platform.selection = &selection;
        platform.statusItem = statusItem.get();
        platform.prefsPanel = prefsPanel.get();
        platform.infoPanel = infoPanel.get();
        platform.mainLoop = &mainLoop;
        platform.alerts = alerts.get();
        platform.volumes = &volumes;
        platform.launcher = &launcher;
        platform.autostart = &autostart;
    }

    qt::QtDefaultsStore defaults;
    std::unique_ptr<ModifierKeys> keys;
    posix::SystemClock clock;
    posix::StatvfsSpaceSource space;
    qt::QtStrings strings;
    std::unique_ptr<TrashItemChooser> itemChooser;
    qt::QtClipboardSelection selection;
    std::unique_ptr<StatusItem> statusItem;
    std::unique_ptr<qt::QtPrefsPanel> prefsPanel;
    std::unique_ptr<qt::QtInfoPanel> infoPanel;
    qt::QtMainLoop mainLoop;
    std::unique_ptr<AlertPresenter> alerts;
    posix::MountinfoVolumeSource volumes;
    posix::PkexecLauncher launcher;
    posix::DesktopAutostart autostart;
    // Last, so that at destruction every worker has ended before anything it uses goes.
    Workers workers;
    Platform platform;
};

} // namespace

int runApplication(int argc, char** argv)
{
    posix::SyslogLog log;
    auto displayKeys = x11::X11ModifierKeys::open();
    const bool display = hasDisplay(displayKeys != nullptr);
    auto app = makeApplication(display, argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brindlewick"));

    // Of several started at once exactly one runs: the one that holds the lock. The others
    // hand it their request, waiting while it starts, and end without error.
    qt::SingleInstance instance(log);
    if (!instance.lock()) {
        if (instance.tellRunningInstance(kStartingInstanceWait))
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

    instance.listen([&manager] { manager.applicationShouldHandleReopen(); });
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
    const int status = app->exec();

    manager.applicationWillTerminate();
    desktop.workers.requestQuit();
    desktop.workers.waitForAll();
    return status;
}

} // namespace bw
