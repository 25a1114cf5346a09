#include "platform/qt/QtMainLoop.h"
#include "platform/qt/QtStatusItem.h"
#include "platform/qt/QtStrings.h"
#include "platform/qt/QuitSignals.h"
#include "platform/qt/SingleInstance.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/Fakes.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QLocalSocket>
#include <QThread>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <thread>

namespace bw::test {
namespace {

TEST(TrayResources, EveryPictureIsFoundByNameAtBothDensities)
{
    qtApp();
    const char* names[] = {"EmptyTrash.png", "UsedTrash.png", "HalfTrash.png", "FullTrash.png",
                           "EmptyTrashMeasure.png", "UsedTrashMeasure.png", "HalfTrashMeasure.png",
                           "FullTrashMeasure.png", "InvisibleTrash.png", "GraphBar.png", "FreePattern.png",
                           "UsedPattern.png", "TrashPattern.png", "SymbolUsed.png", "SymbolTrash.png",
                           "SymbolEmpty.png"};
    for (const char* name : names) {
        const QIcon icon = qt::QtStatusItem::picture(name);
        EXPECT_FALSE(icon.isNull()) << name;
        const QPixmap one(QStringLiteral(":/images/") + name);
        const QPixmap two(QStringLiteral(":/images/") + QString(name).replace(".png", "@2x.png"));
        ASSERT_FALSE(one.isNull()) << name;
        ASSERT_FALSE(two.isNull()) << name;
        EXPECT_EQ(two.size(), one.size() * 2) << name;
    }
    EXPECT_EQ(QPixmap(":/images/FullTrash.png").size(), QSize(16, 16));
    EXPECT_TRUE(qt::QtStatusItem::picture("NoSuchTrash.png").isNull());
}

// A tray slot between two multiples of the grid (24 pixels, the usual panel) gets the
// largest drawing that fits, centred and unscaled: scaling pixel art by 1.5 blurs every edge.
TEST(TrayResources, TheTrayShowsTheLargestWholeDrawingThatFitsItsSlot)
{
    qtApp();
    const QIcon icon = qt::QtStatusItem::trayPicture("HalfTrash.png");
    ASSERT_FALSE(icon.isNull());
    struct Slot {
        int logical;
        qreal ratio;
        const char* drawing;
    };
    for (const Slot slot : {Slot{24, 1.0, ""}, Slot{16, 1.0, ""}, Slot{32, 1.0, "@2x"}, Slot{24, 2.0, "@48"},
                            Slot{40, 1.0, "@2x"}, Slot{64, 1.0, "@48"}}) {
        const QImage drawing =
            QImage(QStringLiteral(":/images/HalfTrash%1.png").arg(slot.drawing)).convertToFormat(QImage::Format_ARGB32);
        const int pixels = static_cast<int>(slot.logical * slot.ratio);
        QImage shown(pixels, pixels, QImage::Format_ARGB32);
        shown.setDevicePixelRatio(slot.ratio);
        shown.fill(Qt::transparent);
        QPainter painter(&shown);
        icon.paint(&painter, QRect(0, 0, slot.logical, slot.logical));
        painter.end();
        const int offset = (pixels - drawing.width()) / 2;
        for (int y = 0; y < pixels; ++y)
            for (int x = 0; x < pixels; ++x) {
                const bool inside = x >= offset && y >= offset && x < offset + drawing.width() &&
                                    y < offset + drawing.height();
                const QRgb expected = inside ? drawing.pixel(x - offset, y - offset) : 0;
                ASSERT_EQ(shown.pixel(x, y), expected) << slot.logical << " at " << slot.ratio << ": " << x << "," << y;
            }
    }
    EXPECT_TRUE(qt::QtStatusItem::trayPicture("NoSuchTrash.png").isNull());
}

// The tray pictures are drawn on a 16-pixel grid: at 16 pixels no edge is smoothed into
// half-transparent pixels, the ribs stand out from the body beside them, and the fill in the
// can's left inner column (never under the measuring badge) rises with the level.
TEST(TrayResources, TrayPicturesAreSharpAtSixteenPixelsAndFillWithTheLevel)
{
    qtApp();
    const auto filledRows = [](const QImage& image) {
        const QColor body = image.pixelColor(3, 4); // the inside, just under the lid
        int rows = 0;
        for (int y = 4; y < 15; ++y)
            rows += image.pixelColor(3, y) != body;
        return rows;
    };
    for (const QString& suffix : {QString(), QStringLiteral("Measure")}) {
        int previous = -1;
        for (const char* level : {"Empty", "Used", "Half", "Full"}) {
            const QString name = level + QStringLiteral("Trash") + suffix;
            const QImage image = QImage(":/images/" + name + ".png").convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(image.size(), QSize(16, 16)) << name.toStdString();
            if (suffix.isEmpty()) {
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x) {
                        const int alpha = qAlpha(image.pixel(x, y));
                        ASSERT_TRUE(alpha == 0 || alpha == 255) << name.toStdString() << " " << x << "," << y;
                    }
            }
            for (int rib : {5, 10})
                EXPECT_LT(image.pixelColor(rib, 6).lightness() + 40, image.pixelColor(rib + 1, 6).lightness())
                    << name.toStdString() << " rib " << rib;
            const int rows = filledRows(image);
            EXPECT_GT(rows, previous) << name.toStdString();
            previous = rows;
        }
        EXPECT_EQ(previous, 10) << "full";
    }
    const QImage invisible = QImage(":/images/InvisibleTrash.png").convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < invisible.height(); ++y)
        for (int x = 0; x < invisible.width(); ++x)
            ASSERT_EQ(qAlpha(invisible.pixel(x, y)), 0);
}

TEST(TrayResources, KeysShowTheirEnglishTextAndUnknownKeysShowThemselves)
{
    qt::QtStrings strings(qtApp());
    EXPECT_EQ(strings.localized("StartEmpty"), "Empty Trashes Now");
    EXPECT_EQ(strings.localized("Measureing"), "Measuring");
    EXPECT_EQ(strings.localized("Understand"), "OK");
    EXPECT_EQ(strings.localized("NoSuchKey"), "NoSuchKey");
    std::string fromWorker;
    std::thread([&] { fromWorker = strings.localized("StopEmpty"); }).join();
    EXPECT_EQ(fromWorker, "Stop Emptying");
}

TEST(TrayMainLoop, PostedJobsRunOnTheMainThreadAndCancelledTimersNever)
{
    qtApp();
    qt::QtMainLoop loop;
    std::atomic<bool> ranOnMain{false};
    std::atomic<bool> ran{false};
    std::thread([&] {
        EXPECT_FALSE(loop.isMainThread());
        loop.post([&] {
            ranOnMain = loop.isMainThread();
            ran = true;
        });
    }).join();
    int fired = 0;
    const auto cancelled = loop.startTimer(Seconds(0.05), [&] { fired += 10; });
    loop.startTimer(Seconds(0.05), [&] { fired += 1; });
    loop.cancelTimer(cancelled);
    runEvents(1000, [&] { return ran.load() && fired > 0; });
    EXPECT_TRUE(ranOnMain);
    EXPECT_EQ(fired, 1);
}

TEST(TrayStatusItem, UpdatesFromAWorkerAreAppliedOnTheMainThreadInOrder)
{
    CapturingLog log;
    qtApp();
    bool trayThere = false;
    qt::QtStatusItem item(log, 10, [&] { return trayThere; });
    item.show();
    std::thread([&] {
        item.setImage("HalfTrashMeasure.png");
        item.setToolTip("Measuring trash condition");
        item.setImage("HalfTrash.png");
    }).join();
    EXPECT_EQ(item.imageName(), QString());
    runEvents(500, [&] { return item.imageName() == "HalfTrash.png"; });
    EXPECT_EQ(item.imageName(), "HalfTrash.png");
    EXPECT_EQ(item.toolTip(), "Measuring trash condition");
    // No tray: one line says the program goes on without it, however long it keeps looking.
    runEvents(200);
    EXPECT_EQ(item.trayIcon(), nullptr);
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(log.contains("No system tray"));
    // A tray host that starts late gets the icon, with the picture and tool tip set meanwhile.
    trayThere = true;
    runEvents(500, [&] { return item.trayIcon() != nullptr; });
    ASSERT_NE(item.trayIcon(), nullptr);
    EXPECT_EQ(item.trayIcon()->toolTip(), "Measuring trash condition");
    EXPECT_EQ(log.lines().size(), 2u);
    EXPECT_TRUE(log.contains("has appeared"));
    runEvents(100);
    EXPECT_EQ(log.lines().size(), 2u);
}

TEST(TrayQuitSignals, SigtermSigintAndSighupEndTheLoopLikeQuit)
{
    qtApp();
    CapturingLog log;
    int quits = 0;
    qt::QuitSignals signals_(log, [&] { ++quits; });
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        const int before = quits;
        ASSERT_EQ(raise(number), 0);
        runEvents(2000, [&] { return quits > before; });
    }
    EXPECT_EQ(quits, 3);
    EXPECT_TRUE(log.contains("Ending on Terminated"));
    EXPECT_TRUE(log.contains("Ending on Interrupt"));
    EXPECT_TRUE(log.contains("Ending on Hangup"));
}

// An environment variable set for the life of the object, and as it was afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name), had_(qEnvironmentVariableIsSet(name))
    {
        old_ = qgetenv(name);
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~ScopedVariable()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

using Lock = qt::SingleInstance::Lock;

TEST(TraySingleInstance, OnlyAPrivateFolderOfTheUsersOwnHoldsTheLockAndTheSocket)
{
    qtApp();
    TempDir dir;
    const std::string tmp = dir / "tmp";
    makeFolder(tmp);
    ASSERT_EQ(chmod(tmp.c_str(), 01777), 0);
    const ScopedVariable tmpdir("TMPDIR", tmp);
    const std::string own = tmp + "/brindlewick-" + std::to_string(getuid());
    const QString name = QStringLiteral("brindlewick");
    CapturingLog log;

    // $XDG_RUNTIME_DIR as a session has it: used, and a second program finds the first.
    const std::string runtime = dir / "runtime";
    ASSERT_EQ(mkdir(runtime.c_str(), 0700), 0);
    {
        const ScopedVariable xdg("XDG_RUNTIME_DIR", runtime);
        qt::SingleInstance first(log, name), second(log, name);
        EXPECT_EQ(first.lock(), Lock::Taken);
        EXPECT_EQ(first.folder(), runtime);
        EXPECT_EQ(second.lock(), Lock::Held);
    }
    ASSERT_EQ(unlink((runtime + "/brindlewick.lock").c_str()), 0);

    // Open to others, a link, not absolute, or another user's: the program's own folder instead.
    const std::string open = dir / "open";
    ASSERT_EQ(mkdir(open.c_str(), 0755), 0);
    const std::string linked = dir / "linked";
    ASSERT_EQ(symlink(runtime.c_str(), linked.c_str()), 0);
    std::vector<std::string> refused = {open, linked, "relative/runtime"};
    if (getuid() == 0) {
        const std::string foreign = dir / "foreign";
        ASSERT_EQ(mkdir(foreign.c_str(), 0700), 0);
        ASSERT_EQ(chown(foreign.c_str(), kNobody, kNobody), 0);
        refused.push_back(foreign);
    }
    for (const auto& value : refused) {
        const ScopedVariable xdg("XDG_RUNTIME_DIR", value);
        qt::SingleInstance first(log, name), second(log, name);
        EXPECT_EQ(first.lock(), Lock::Taken) << value;
        EXPECT_EQ(first.folder(), own) << value;
        EXPECT_EQ(second.lock(), Lock::Held) << value;
        EXPECT_FALSE(exists(value + "/brindlewick.lock")) << value;
    }
    struct stat st {};
    ASSERT_EQ(lstat(own.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_TRUE(log.lines().empty());
    // A socket of the user's own left under the folder's name by an earlier version goes.
    std::filesystem::remove_all(own);
    writeFile(own, 0);
    {
        const ScopedVariable xdg("XDG_RUNTIME_DIR", open);
        qt::SingleInstance first(log, name);
        EXPECT_EQ(first.lock(), Lock::Taken);
        EXPECT_EQ(first.folder(), own);
    }

    // Someone else made the program's own folder first, or left it open: nobody runs, and the
    // command line asks no one, each with a line that says why.
    std::vector<std::function<void()>> squats = {
        [&] { ASSERT_EQ(mkdir(own.c_str(), 0755), 0); },
        [&] { ASSERT_EQ(mkdir(own.c_str(), 0777), 0); ASSERT_EQ(chmod(own.c_str(), 0777), 0); },
    };
    if (getuid() == 0) {
        squats.push_back([&] {
            ASSERT_EQ(mkdir(own.c_str(), 0700), 0);
            ASSERT_EQ(chown(own.c_str(), kNobody, kNobody), 0);
        });
        squats.push_back([&] {
            ASSERT_EQ(symlink(runtime.c_str(), own.c_str()), 0);
            ASSERT_EQ(lchown(own.c_str(), kNobody, kNobody), 0);
        });
    }
    for (size_t i = 0; i < squats.size(); ++i) {
        std::filesystem::remove_all(own);
        squats[i]();
        const ScopedVariable xdg("XDG_RUNTIME_DIR", open);
        CapturingLog told;
        qt::SingleInstance first(told, name), second(told, name);
        EXPECT_EQ(first.lock(), Lock::Unavailable) << i;
        EXPECT_EQ(told.lines().size(), 1u) << i;
        EXPECT_TRUE(told.contains("does not start")) << i;
        EXPECT_EQ(second.lock(), Lock::Unavailable) << i;
        EXPECT_EQ(second.ask("check"), std::nullopt) << i;
        EXPECT_FALSE(exists(runtime + "/brindlewick.lock")) << i;
    }
    std::filesystem::remove_all(own);
}

TEST(TraySingleInstance, ConnectionsAreFewOneLineLongAndLetGoWhenIdle)
{
    qtApp();
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0700), 0);
    const ScopedVariable xdg("XDG_RUNTIME_DIR", dir.path());
    const QString path = QString::fromStdString(dir / "brindlewick");
    CapturingLog log;
    qt::SingleInstance server(log);
    ASSERT_EQ(server.lock(), Lock::Taken);
    int answered = 0;
    ASSERT_TRUE(server.listen([&](const std::string& request) -> std::string {
        ++answered;
        return request == "check" ? "done\n" : std::string();
    }));

    // Idle clients, more of them than are served at once.
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    const auto connected = [&] {
        int n = 0;
        for (const auto& socket : idle)
            n += socket->state() == QLocalSocket::ConnectedState ? 1 : 0;
        return n;
    };
    for (int i = 0; i < qt::SingleInstance::kMostConnections + 8; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(path);
        runEvents(50);
    }
    runEvents(1000, [&] { return connected() == qt::SingleInstance::kMostConnections; });
    EXPECT_EQ(connected(), qt::SingleInstance::kMostConnections);

    // Nobody is served while they are held.
    QLocalSocket waiting;
    waiting.connectToServer(path);
    waiting.write("check\n");
    runEvents(1000, [&] { return waiting.state() != QLocalSocket::ConnectedState; });
    EXPECT_EQ(answered, 0);

    // After the idle time they are let go, and a request is answered again.
    runEvents(qt::SingleInstance::kIdleMilliseconds + 2000, [&] { return connected() == 0; });
    EXPECT_EQ(connected(), 0);
    std::optional<std::string> again;
    std::atomic<bool> asked{false};
    std::thread later([&] {
        qt::SingleInstance client(log);
        again = client.ask("check");
        asked = true;
    });
    runEvents(5000, [&] { return asked.load(); });
    later.join();
    EXPECT_EQ(again, std::optional<std::string>("done\n"));

    // A request longer than a line may be is refused as soon as it is too long.
    QLocalSocket talkative;
    talkative.connectToServer(path);
    ASSERT_TRUE(talkative.waitForConnected(2000));
    talkative.write(QByteArray(100000, 'x'));
    QByteArray answer;
    runEvents(3000, [&] {
        answer += talkative.readAll();
        return talkative.state() != QLocalSocket::ConnectedState;
    });
    answer += talkative.readAll();
    EXPECT_EQ(answer, "refused\n");
    EXPECT_EQ(answered, 1);
}

TEST(TraySingleInstance, ASecondStartReachesTheFirstAndAsksForATick)
{
    qtApp();
    CapturingLog log;
    const QString name = QStringLiteral("brindlewick-test-%1").arg(QCoreApplication::applicationPid());
    qt::SingleInstance first(log, name);
    int reopened = 0;
    // A long answer of several lines, as a status in JSON or a table is.
    const std::string table = std::string(100000, 'x') + "\nlast line\n";
    ASSERT_TRUE(first.listen([&](const std::string& request) -> std::string {
        if (request == "reopen") {
            ++reopened;
            return "done\n";
        }
        return request == "table" ? table : std::string();
    }));

    std::atomic<int> told{-1};
    std::optional<std::string> longAnswer, unknown;
    std::thread second([&] {
        qt::SingleInstance instance(log, name);
        longAnswer = instance.ask("table");
        unknown = instance.ask("format the disk");
        told = instance.tellRunningInstance() ? 1 : 0;
    });
    runEvents(5000, [&] { return told.load() >= 0; });
    second.join();
    EXPECT_EQ(told.load(), 1);
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(longAnswer, table);
    EXPECT_EQ(unknown, std::nullopt);

    qt::SingleInstance alone(log, name + "-none");
    EXPECT_FALSE(alone.tellRunningInstance());
}

} // namespace
} // namespace bw::test
