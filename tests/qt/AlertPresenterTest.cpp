#include "platform/qt/QtAlertPresenter.h"
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

} // namespace
} // namespace bw::test
