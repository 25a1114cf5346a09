#pragma once
#include "platform/AlertPresenter.h"

#include <QObject>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>

namespace bw {

// Shows an alert as a QMessageBox on the main thread. A worker that raises one waits until
// it is dismissed, or until the application quits (so that quitting never hangs a worker).
class QtAlertPresenter final : public QObject, public AlertPresenter {
    Q_OBJECT
public:
    explicit QtAlertPresenter(Log& log, QObject* parent = nullptr);
    void runModal(const AlertContent& alert) override;
    ConfirmAnswer confirm(const ConfirmContent& question) override;

private:
    struct Pending {
        bool done = false;
    };
    void show(const AlertContent& alert);
    void releaseAll();

    Log& log_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::list<std::shared_ptr<Pending>> pending_;
    bool quitting_ = false;
};

} // namespace bw
