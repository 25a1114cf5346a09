#pragma once
#include "platform/TrashLayout.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

class QSocketNotifier;

namespace bw {
class Log;
}

namespace bw::qt {

// Announces on the main thread that a trash folder or the mount table changed: inotify on
// every item folder of every trash and on the folders its descriptions lie in, on the
// folders above them (to see a trash folder appear or go), and the kernel's change signal
// of /proc/self/mountinfo. Changes within one window are announced once, at its end.
class TrashFeed final : public QObject {
    Q_OBJECT
public:
    using Folders = std::function<TrashWatch()>;

    // `folders` tells what to watch; it is asked again at each change. `mountTable` is the
    // file whose changes announce mounts and unmounts; empty: none.
    TrashFeed(Folders folders, Log& log, std::function<void()> changed, int windowMilliseconds = 1000,
              std::string mountTable = "/proc/self/mountinfo");
    ~TrashFeed() override;

    // False when inotify cannot be had; the monitor timer then does the watching alone.
    bool start();
    // The folders watched now.
    std::vector<std::string> watchedFolders() const;

private:
    struct Watched {
        std::string folder;
        bool isParent = false;
        std::set<std::string> names; // of a parent: the trash folders that may appear; "" any
    };
    void readEvents();
    void noteChange();
    void deliver();
    void rewatch();
    void watch(const Watched& wanted);
    static bool isTrashFolderEvent(const Watched& parent, uint32_t mask, const char* name);

    Folders folders_;
    Log& log_;
    std::function<void()> changed_;
    std::string mountTable_;
    QTimer window_;
    int inotifyFd_ = -1;
    int mountsFd_ = -1;
    QSocketNotifier* inotifyNotifier_ = nullptr;
    QSocketNotifier* mountsNotifier_ = nullptr;
    std::map<int, Watched> watches_; // watch descriptor to folder
};

} // namespace bw::qt
