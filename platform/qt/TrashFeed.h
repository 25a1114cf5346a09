#pragma once
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QSocketNotifier;

namespace bw {
class Log;
}

namespace bw::qt {

// Announces on the main thread that a trash folder or the mount table changed: inotify on
// the home trash (and on its parent, to see it appear), on each volume trash and its
// per-user folders, and the kernel's change signal of /proc/self/mountinfo. Changes within
// one window are announced once, at the end of the window.
class TrashFeed final : public QObject {
    Q_OBJECT
public:
    using TrashPaths = std::function<std::vector<std::string>()>;

    // `volumeTrashes` lists the volume trashes to watch; it is asked again at each change.
    // `mountTable` is the file whose changes announce mounts and unmounts; empty: none.
    TrashFeed(std::string homeTrash, TrashPaths volumeTrashes, Log& log, std::function<void()> changed,
              int windowMilliseconds = 1000, std::string mountTable = "/proc/self/mountinfo");
    ~TrashFeed() override;

    // False when inotify cannot be had; the monitor timer then does the watching alone.
    bool start();
    // The folders watched now.
    std::vector<std::string> watchedFolders() const;

private:
    void readEvents();
    void noteChange();
    void deliver();
    void rewatch();
    std::vector<std::string> wantedFolders() const;
    void watch(const std::string& folder, uint32_t mask);

    std::string homeTrash_;
    std::string homeFolder_;
    TrashPaths volumeTrashes_;
    Log& log_;
    std::function<void()> changed_;
    std::string mountTable_;
    QTimer window_;
    int inotifyFd_ = -1;
    int mountsFd_ = -1;
    QSocketNotifier* inotifyNotifier_ = nullptr;
    QSocketNotifier* mountsNotifier_ = nullptr;
    std::map<int, std::string> watches_; // watch descriptor to folder
};

} // namespace bw::qt
