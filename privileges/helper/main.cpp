// brindlewick-repair: started once by pkexec for the tray program, it reads repair
// requests on standard input for as long as the program runs, and carries them out one
// after another in the background, so the program never waits for one.
#include "platform/posix/Files.h"
#include "platform/posix/TrashLayouts.h"
#include "privileges/helper/RepairHelper.h"

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

namespace {

using bw::repair::Request;

class Queue {
public:
    // A request already waiting for the same repair of the path or of a folder above it is
    // enough: the repair is recursive, except that of a shared ".Trashes" root.
    void push(Request request)
    {
        std::lock_guard lock(mutex_);
        for (const auto& waiting : waiting_)
            if (waiting.kind == request.kind && covers(waiting.path, request.path))
                return;
        waiting_.push_back(std::move(request));
        changed_.notify_one();
    }
    void close()
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        changed_.notify_one();
    }
    bool pop(Request& request)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return closed_ || !waiting_.empty(); });
        if (waiting_.empty())
            return false;
        request = std::move(waiting_.front());
        waiting_.pop_front();
        return true;
    }

private:
    static bool covers(const std::string& folder, const std::string& path)
    {
        // A volume's shared trash folder covers only itself: each user's folder in it is its own.
        if (folder == bw::posix::classicVolumeTrash(bw::posix::parentPath(folder)))
            return path == folder;
        return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                                  path[folder.size()] == '/');
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Request> waiting_;
    bool closed_ = false;
};

} // namespace

int main()
{
    const auto user = bw::repair::userFromEnvironment();
    if (!user) {
        std::fprintf(stderr, "brindlewick-repair: PKEXEC_UID names no user\n");
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    bw::repair::Repairer repairer(*user);

    // Tells the program that the authorization was granted and requests are welcome.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    Queue queue;
    std::thread worker([&] {
        Request request;
        while (queue.pop(request))
            repairer.repair(request);
    });
    Request request;
    bw::repair::ReadResult result;
    while ((result = bw::repair::readRequest(stdin, request)) == bw::repair::ReadResult::Request)
        queue.push(request);
    if (result == bw::repair::ReadResult::Malformed)
        std::fprintf(stderr, "brindlewick-repair: malformed request, stopping\n");
    queue.close();
    worker.join();
    return result == bw::repair::ReadResult::Malformed ? 1 : 0;
}
