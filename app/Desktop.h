#pragma once
// The desktop facilities of the composition root, shared by the tray program and the
// command line.
#include "platform/AlertPresenter.h"
#include "platform/HeadlessStatusItem.h"
#include "platform/ModifierKeys.h"
#include "platform/TrashItemChooser.h"
#include "platform/Platform.h"
#include "platform/Workers.h"
#include "platform/posix/DesktopAutostart.h"
#include "platform/posix/MountinfoVolumeSource.h"
#include "platform/posix/PkexecLauncher.h"
#include "platform/posix/StatvfsSpaceSource.h"
#include "platform/posix/SyslogLog.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/DBusNotifier.h"
#include "platform/qt/QtAlertPresenter.h"
#include "platform/qt/QtClipboardSelection.h"
#include "platform/qt/QtDefaultsStore.h"
#include "platform/qt/QtInfoPanel.h"
#include "platform/qt/QtMainLoop.h"
#include "platform/qt/QtTrashItemChooser.h"
#include "platform/qt/QtPrefsPanel.h"
#include "platform/qt/QtStatusItem.h"
#include "platform/qt/QtStrings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace bw {

// Without a display there is no chooser to show: every choice is a cancel.
class CancellingItemChooser final : public TrashItemChooser {
public:
    std::optional<std::vector<std::string>> runModal(const TrashItemChooserContent&) override { return std::nullopt; }
};

// The installed repair helper; a program started from its build folder uses the one built
// beside it (pkexec then asks under its generic action, since the policy names the other).
inline std::string repairHelperPath()
{
    const std::string installed = posix::PkexecLauncher::defaultHelperPath();
    if (QFileInfo(QString::fromStdString(installed)).isExecutable())
        return installed;
    const QString built = QCoreApplication::applicationDirPath() +
                          QStringLiteral("/../privileges/" BRINDLEWICK_HELPER_NAME);
    return QFileInfo(built).isExecutable() ? QFileInfo(built).canonicalFilePath().toStdString() : installed;
}

// Where the freedesktop home trash lies; empty for the default.
inline std::string dataHomeFromEnvironment()
{
    return qEnvironmentVariable("XDG_DATA_HOME").toStdString();
}

// The desktop facilities, each alive as long as the controllers that use them.
struct Desktop {
    // Without a display, `headlessWhy` says which one was looked for.
    Desktop(QCoreApplication& app, posix::SyslogLog& log, std::unique_ptr<ModifierKeys> displayKeys, bool display,
            const std::string& headlessWhy = {})
        : defaults(qt::QtDefaultsStore::defaultFilePath(QDir::homePath()), log),
          keys(displayKeys ? std::move(displayKeys) : std::make_unique<NoModifierKeys>()),
          strings(app),
          volumes(currentTrashOwner(QDir::homePath().toStdString(), dataHomeFromEnvironment())),
          launcher(log, repairHelperPath()),
          autostart(posix::DesktopAutostart::defaultEntryFile(QDir::homePath().toStdString()),
                    posix::DesktopAutostart::runningProgram(), posix::DesktopAutostart::defaultSystemFolders())
    {
        if (display) {
            auto tray = std::make_unique<qt::QtStatusItem>(log);
            // Where no notification service answers, the tray icon says it.
            notifier = std::make_unique<qt::DBusNotifier>(
                [item = tray.get()](const std::string& summary, const std::string& body) {
                    item->showMessage(summary, body);
                });
            statusItem = std::move(tray);
        } else {
            statusItem = std::make_unique<HeadlessStatusItem>(log, headlessWhy);
            notifier = std::make_unique<SilentNotifier>();
        }
        // The panels need a display; without one the controllers have none to open.
        // Alerts wait for the user; without a display their text goes to the log.
        if (display) {
            auto presenter = std::make_unique<QtAlertPresenter>(log);
            if (auto* tray = dynamic_cast<qt::QtStatusItem*>(statusItem.get()))
                presenter->setOpenChanged([tray](bool open) { tray->setAlertOpen(open); });
            alerts = std::move(presenter);
        } else
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
        platform.stateHome = qEnvironmentVariable("XDG_STATE_HOME").toStdString();
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
        platform.notifier = notifier.get();
    }

    qt::QtDefaultsStore defaults;
    std::unique_ptr<ModifierKeys> keys;
    posix::SystemClock clock;
    posix::StatvfsSpaceSource space;
    qt::QtStrings strings;
    std::unique_ptr<TrashItemChooser> itemChooser;
    qt::QtClipboardSelection selection;
    std::unique_ptr<StatusItem> statusItem;
    std::unique_ptr<Notifier> notifier;
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

} // namespace bw
