#pragma once
#include "platform/AlertPresenter.h"

#include <QObject>
#include <QString>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>

class QMessageBox;

namespace bw {

// Shows an alert as a QMessageBox on the main thread. A worker that raises one waits until
// it is dismissed, or until the application quits (so that quitting never hangs a worker).
class QtAlertPresenter final : public QObject, public AlertPresenter {
    Q_OBJECT
public:
    explicit QtAlertPresenter(Log& log, QObject* parent = nullptr);
    void runModal(const AlertContent& alert) override;
    ConfirmAnswer confirm(const ConfirmContent& question) override;

    // Told true when the first alert opens and false when the last one closes; main thread.
    void setOpenChanged(std::function<void(bool open)> changed) { openChanged_ = std::move(changed); }

    // An alert's text as it is shown: a space after each label that opens a line ("Error:"),
    // and a no-break space between a figure and the word after it ("3 items", "4.3 MB").
    static QString readableText(const std::string& text);
    // The informative text as rich text: escaped, and every figure kept on one line.
    static QString informativeHtml(const QString& text);

private:
    struct Pending {
        bool done = false;
    };
    void show(const AlertContent& alert);
    void releaseAll();
    // Runs one box's modal loop, telling whoever follows alerts being open.
    void runBox(QMessageBox& box);

    Log& log_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::list<std::shared_ptr<Pending>> pending_;
    bool quitting_ = false;
    std::function<void(bool)> openChanged_;
    int open_ = 0; // boxes open now; nested ones count too
};

} // namespace bw
