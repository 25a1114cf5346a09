#include "platform/qt/QtMainLoop.h"
#include "platform/qt/QtStatusItem.h"
#include "platform/qt/QtStrings.h"
#include "platform/qt/QuitSignals.h"
#include "platform/qt/SingleInstance.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QThread>
#include <atomic>
#include <csignal>
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

TEST(TrayQuitSignals, SigtermAndSigintEndTheLoopLikeQuit)
{
    qtApp();
    CapturingLog log;
    int quits = 0;
    qt::QuitSignals signals_(log, [&] { ++quits; });
    for (int number : {SIGTERM, SIGINT}) {
        const int before = quits;
        ASSERT_EQ(raise(number), 0);
        runEvents(2000, [&] { return quits > before; });
    }
    EXPECT_EQ(quits, 2);
    EXPECT_TRUE(log.contains("Ending on Terminated"));
    EXPECT_TRUE(log.contains("Ending on Interrupt"));
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
