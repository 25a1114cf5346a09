#include "app/CommandLine.h"

#include "accounting/TrashSnapshot.h"
#include "app/Controllers.h"
#include "app/Desktop.h"
#include "app/ConsoleOutput.h"
#include "app/HistoryCommand.h"
#include "history/HistoryRecorder.h"
#include "platform/Format.h"
#include "platform/Strings.h"
#include "platform/qt/QtStrings.h"
#include "platform/qt/QuitSignals.h"
#include "platform/qt/SingleInstance.h"

#include <QCommandLineParser>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace bw {

namespace {

constexpr int kProgressMilliseconds = 200;

// The controllers of a program that runs for one command, with nothing on screen.
class LocalRun {
public:
    LocalRun(QCoreApplication& app, posix::SyslogLog& log)
        : desktop_(app, log, nullptr, false), history_(historyDatabasePath(), log, desktop_.clock), controllers_(init())
    {
        controllers_.shredder.addDeletionListener(history_);
        history_.start(desktop_.workers);
        controllers_.preferences.awakeFromNib();
        controllers_.shredder.awakeFromNib();
        // One full measurement of every trash, here and now.
        controllers_.internal.initTrashData();
        for (const auto& path : controllers_.external.volumePaths())
            controllers_.external.initTrashDataAtPath(path);
    }
    ~LocalRun()
    {
        desktop_.workers.requestQuit();
        history_.stop();
        desktop_.workers.waitForAll();
    }

    TrashSnapshot snapshot() const { return controllers_.manager.snapshot(); }
    // The items of every trash counted from the disk; an emptying that follows takes only these.
    RootItemCount agreeOnItems()
    {
        RootItemCount all = controllers_.shredder.countRootItems(true, controllers_.external.volumePaths());
        controllers_.shredder.setAgreedItems(all.ids);
        agreed_ = all.ids;
        return all;
    }
    // What the running program would answer to `request`.
    std::string answer(const std::string& request) { return controllers_.manager.answerRequest(request); }
    // The root items of every trash, counted afresh.
    int itemsLeft() const
    {
        int items = controllers_.internal.trashFileCount();
        for (const auto& path : controllers_.external.volumePaths())
            items += controllers_.external.trashFileCountWithPath(path);
        return items;
    }

    // The forced emptying of every trash in the foreground, with a progress line; SIGINT or
    // SIGTERM stops it after the item being deleted. True when every item was deleted.
    bool emptyEverything(QCoreApplication& app, posix::SyslogLog& log, Strings& strings)
    {
        Shredder& shredder = controllers_.shredder;
        bool stopped = false;
        qt::QuitSignals signals_(log, [&] {
            stopped = true;
            shredder.setShredBreak(true);
        });
        shredder.setShredMode(1, DeletionReason::CommandLine);
        controllers_.internal.setShredMode(true);
        controllers_.external.setAllShredMode(true);
        shredder.autoShred();
        const bool terminal = isatty(STDERR_FILENO);
        std::string shown;
        QTimer progress;
        QObject::connect(&progress, &QTimer::timeout, &app, [&] {
            const std::string line = countedText(strings, itemsLeft(), "1 item left, %2 freed", "%1 items left, %2 freed",
                                                 {strings.localFigure(readableSize(shredder.passTotals().bytes))});
            if (line != shown && terminal)
                err("\r\033[K" + line);
            shown = line;
            if (!shredder.isPassRunning())
                app.quit();
        });
        progress.start(kProgressMilliseconds);
        app.exec();
        const PassTotals totals = shredder.passTotals();
        const std::string done = countedText(strings, totals.deleted, "1 item deleted (%2), %3 failed",
                                             "%1 items deleted (%2), %3 failed",
                                             {strings.localFigure(readableSize(totals.bytes)),
                                              strings.localFigure(std::to_string(totals.failed))});
        err((terminal ? "\r\033[K" : "") + (stopped ? localizedWith(strings, "Stopped: %1", {done}) : done) + "\n");
        // Items trashed while the question waited stay, as they should.
        const ItemIds now = controllers_.shredder.countRootItems(true, controllers_.external.volumePaths()).ids;
        const bool agreedGone = std::none_of(agreed_.begin(), agreed_.end(), [&](const auto& id) { return now.count(id); });
        return !stopped && totals.failed == 0 && agreedGone;
    }

private:
    const Platform& init()
    {
        Controllers::registerDefaults(desktop_.defaults);
        return desktop_.platform;
    }

    Desktop desktop_;
    HistoryRecorder history_;
    Controllers controllers_;
    ItemIds agreed_;
};

// The running program's answer to `request`; none, said on standard error, when it gave none.
std::optional<std::string> askInstance(qt::SingleInstance& instance, const char* request, Strings& strings)
{
    auto answer = instance.ask(request, qt::SingleInstance::kStartingWait);
    if (!answer)
        err(strings.localized("Brindlewick runs but did not answer") + "\n");
    return answer;
}

// "y" or "yes" on the terminal, asked on standard error.
bool userAgrees(int items, double bytes, Strings& strings)
{
    // The answer stays "y": the question says so in every language.
    err(countedText(strings, items, "Shred 1 item (%2) from every trash? It cannot be brought back. [y/N] ",
                    "Shred %1 items (%2) from every trash? They cannot be brought back. [y/N] ",
                    {strings.localFigure(readableSize(bytes))}));
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes";
}

int emptyNow(QCoreApplication& app, posix::SyslogLog& log, qt::SingleInstance& instance, bool running, bool yes,
             Strings& strings)
{
    // Nothing that cannot be undone without a question answered or --yes.
    if (!yes && !isatty(STDIN_FILENO)) {
        err(strings.localized("--empty-now asks before it deletes and there is no terminal to ask on; give --yes.") +
            "\n");
        return kExitUsage;
    }
    std::optional<LocalRun> local;
    int items = 0;
    double bytes = 0.0;
    if (running) {
        const auto totals = instance.ask("totals", qt::SingleInstance::kStartingWait);
        if (!totals || std::sscanf(totals->c_str(), "%d %lf", &items, &bytes) != 2) {
            err(strings.localized("Brindlewick runs but did not answer") + "\n");
            return kExitFailed;
        }
    } else {
        const RootItemCount all = local.emplace(app, log).agreeOnItems();
        items = all.items;
        bytes = all.bytes;
    }
    if (items == 0) {
        out(strings.localized("The trashes are empty.") + "\n");
        return kExitDone;
    }
    if (!yes && isatty(STDIN_FILENO) && !userAgrees(items, bytes, strings)) {
        err(strings.localized("Nothing was deleted.") + "\n");
        return kExitFailed;
    }
    if (running) {
        if (instance.ask("empty", qt::SingleInstance::kStartingWait) != "done\n") {
            err(strings.localized("Brindlewick runs but did not answer") + "\n");
            return kExitFailed;
        }
        out(strings.localized("The running program empties the trashes now.") + "\n");
        return kExitDone;
    }
    return local->emptyEverything(app, log, strings) ? kExitDone : kExitFailed;
}

// Sends `request` to the running program, which must be there.
int askRunning(qt::SingleInstance& instance, bool running, const char* request, Strings& strings,
               const std::function<int(const std::string&)>& report)
{
    if (!running) {
        err(strings.localized("Brindlewick is not running") + "\n");
        return kExitFailed;
    }
    const auto answer = askInstance(instance, request, strings);
    return answer ? report(*answer) : kExitFailed;
}

} // namespace

int runCommandLine(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brindlewick"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRINDLEWICK_VERSION));
    // Messages, questions and tables in the user's language; JSON and the dry runs' lines stay data.
    qt::QtStrings strings(app);
    const auto text = [&strings](const char* english) { return QString::fromStdString(strings.localized(english)); };

    QCommandLineParser parser;
    parser.setApplicationDescription(
        text("Watches the trashes and shreds their oldest items when a volume runs short of space.\n"
             "Without options it starts the tray program; with one, it asks the running program,\n"
             "or does the work itself when none runs."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption status(QStringLiteral("status"), text("Show every trash and its volume."));
    const QCommandLineOption json(QStringLiteral("json"), text("With --status or --history: JSON."));
    const QCommandLineOption checkNow(QStringLiteral("check-now"), text("The running program checks now."));
    const QCommandLineOption emptyNowOption(QStringLiteral("empty-now"), text("Shred every item of every trash."));
    const QCommandLineOption yes(QStringLiteral("yes"), text("With --empty-now: do not ask first."));
    const QCommandLineOption stop(QStringLiteral("stop"), text("Stop the running deletion pass."));
    const QCommandLineOption history(QStringLiteral("history"), text("List the recorded deletions."));
    const QCommandLineOption since(QStringLiteral("since"),
                                   text("With --history: only deletions from DATE on (ISO 8601)."),
                                   QStringLiteral("DATE"));
    // Taken before the command line is read (app/Application.cpp); listed here for --help.
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     text("Alone: start the tray program with trace lines in its log."));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    text("With --check-now or --empty-now: list what would go, in order, "
                                         "and delete nothing."));
    parser.addOptions({status, json, checkNow, emptyNowOption, yes, stop, dryRun, history, since, verbose});

    const auto usage = [&strings](const QString& problem) { return usageError(problem.toStdString(), strings); };
    if (!parser.parse(app.arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        out(parser.helpText().toStdString());
        return kExitDone;
    }
    if (parser.isSet(version)) {
        out("brindlewick " BRINDLEWICK_VERSION "\n");
        return kExitDone;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage(text("Unexpected argument: %1").arg(parser.positionalArguments().first()));
    int commands = 0;
    for (const auto* option : {&status, &checkNow, &emptyNowOption, &stop, &history})
        commands += parser.isSet(*option) ? 1 : 0;
    if (commands != 1)
        return usage(text("Give one of --status, --check-now, --empty-now, --stop and --history."));
    if (parser.isSet(json) && !parser.isSet(status) && !parser.isSet(history))
        return usage(text("--json goes with --status or --history."));
    if (parser.isSet(since) && !parser.isSet(history))
        return usage(text("--since goes with --history."));
    // The history is read from its database, whether or not the program runs.
    if (parser.isSet(history))
        return runHistoryCommand(parser.isSet(json),
                                 parser.isSet(since) ? std::optional(parser.value(since).toStdString()) : std::nullopt,
                                 strings);
    if (parser.isSet(yes) && !parser.isSet(emptyNowOption))
        return usage(text("--yes goes with --empty-now."));
    if (parser.isSet(dryRun) && !parser.isSet(checkNow) && !parser.isSet(emptyNowOption))
        return usage(text("--dry-run goes with --check-now or --empty-now."));

    posix::SyslogLog log;
    // Holding the lock keeps a tray program from starting while this one works alone.
    qt::SingleInstance instance(log);
    const qt::SingleInstance::Lock lock = instance.lock();
    if (lock == qt::SingleInstance::Lock::Unavailable)
        return kExitFailed;
    const bool running = lock == qt::SingleInstance::Lock::Held;

    // The table, and a dry run's list, as the running program gives them, or as this one works them out alone.
    if (parser.isSet(status) || parser.isSet(dryRun)) {
        const char* request = parser.isSet(status) ? parser.isSet(json) ? "status" : "table"
                              : parser.isSet(checkNow) ? "plan"
                                                       : "plan-empty";
        const auto answer = running ? askInstance(instance, request, strings) : LocalRun(app, log).answer(request);
        return answer ? answered(*answer, strings) : kExitFailed;
    }
    if (parser.isSet(checkNow))
        return askRunning(instance, running, "check", strings, [&strings](const std::string&) {
            out(strings.localized("The running program checks the trashes now.") + "\n");
            return kExitDone;
        });
    if (parser.isSet(stop))
        return askRunning(instance, running, "stop", strings, [&strings](const std::string& answer) {
            const bool idle = answer == "idle\n";
            out(strings.localized(idle ? "No deletion pass was running." : "The running deletion pass stops.") + "\n");
            return kExitDone;
        });
    return emptyNow(app, log, instance, running, parser.isSet(yes), strings);
}

} // namespace bw
