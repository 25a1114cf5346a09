#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <functional>

namespace bw::test {

// The one application object of a Qt test program, on the offscreen platform.
inline QApplication& qtApp()
{
    static int argc = 1;
    static char name[] = "brindlewick-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Runs the event loop for `milliseconds`, or until `done` says so.
inline void runEvents(int milliseconds, const std::function<bool()>& done = {})
{
    qtApp();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds && !(done && done()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace bw::test
