#include "platform/Format.h"
#include "platform/qt/QtAlertPresenter.h"
#include "platform/qt/QtStatusItem.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/Fakes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace bw::test {
namespace {

QMessageBox* openAlert()
{
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

TEST(QtAlertPresenterTest, WorkerWaitsUntilTheAlertIsDismissed)
{
    qtApp();
    CapturingLog log;
    QtAlertPresenter presenter(log);
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        presenter.runModal({"TrashError", "Error:FileDeleteError\n\nFile:/t/<b>100%s</b>\n\nInfo:x", "Understand"});
        returned = true;
    });
    // The alert runs its own modal loop on the main thread: look at it from a timer there.
    QString text, informative, button;
    int buttons = 0;
    bool returnedWhileOpen = true;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QMessageBox* box = openAlert();
        if (!box)
            return;
        poll.stop();
        text = box->text();
        informative = box->informativeText();
        buttons = static_cast<int>(box->buttons().size());
        button = box->buttons().value(0) ? box->buttons()[0]->text() : QString();
        QTimer::singleShot(200, box, [&, box] {
            returnedWhileOpen = returned.load();
            box->buttons()[0]->click();
        });
    });
    poll.start(20);
    runEvents(10000, [&] { return returned.load(); });
    EXPECT_TRUE(returned.load());
    EXPECT_FALSE(returnedWhileOpen);
    EXPECT_EQ(text, "TrashError");
    // The path is escaped, never read as markup or as a format.
    EXPECT_TRUE(informative.contains("&lt;b&gt;100%s&lt;/b&gt;")) << informative.toStdString();
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(button, "Understand");
    worker.join();
    EXPECT_TRUE(log.lines().empty());
}

TEST(QtAlertPresenterTest, MainThreadAlertRunsInPlace)
{
    qtApp();
    CapturingLog log;
    QtAlertPresenter presenter(log);
    bool seen = false;
    QTimer::singleShot(50, [&] {
        if (QMessageBox* box = openAlert()) {
            seen = box->text() == "Title";
            box->buttons()[0]->click();
        }
    });
    presenter.runModal({"Title", "text", "OK"});
    EXPECT_TRUE(seen);
}

TEST(QtAlertPresenterTest, LabelsAreSpacedFiguresStayWithTheirUnitsAndTheIconStays)
{
    EXPECT_EQ(QtAlertPresenter::readableText("Error:Permission denied\n\nFile:/t/a:b 2 MB\n\nInfo:Check it"),
              QString::fromUtf8("Error: Permission denied\n\nFile: /t/a:b 2 MB\n\nInfo: Check it"));
    EXPECT_EQ(QtAlertPresenter::readableText("Shred 3 trash items?"), QString::fromUtf8("Shred 3\u00a0trash items?"));
    EXPECT_EQ(QtAlertPresenter::readableText("Error: already spaced"), "Error: already spaced");
    EXPECT_EQ(byteCountText(4.3 * 1024 * 1024), "4.3\u00a0MB");
    for (double bytes : {0.0, 512.0, 2048.0, 5e6, 3e9})
        EXPECT_EQ(byteCountText(bytes).find(' '), std::string::npos) << bytes;

    // While the alert is open the flashing's blank picture is not shown; after it, it is.
    qtApp();
    CapturingLog log;
    qt::QtStatusItem item(log, 10, [] { return false; });
    QtAlertPresenter presenter(log);
    presenter.setOpenChanged([&item](bool open) { item.setAlertOpen(open); });
    item.setImage("HalfTrash.png");
    QString shownDuring;
    QTimer::singleShot(50, [&] {
        item.setImage("InvisibleTrash.png");
        shownDuring = item.shownImageName();
        if (QMessageBox* box = openAlert())
            box->buttons()[0]->click();
    });
    presenter.runModal({"TrashError", "Error:x", "Understand"});
    EXPECT_EQ(shownDuring, "HalfTrash.png");
    EXPECT_EQ(item.shownImageName(), "InvisibleTrash.png");
}

} // namespace
} // namespace bw::test
