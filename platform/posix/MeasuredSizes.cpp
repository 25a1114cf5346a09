#include "platform/posix/Files.h"
#include "platform/posix/TreeWalk.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace bw::posix {

namespace {

// A folder handed from one thread to another: open, checked, its content not yet walked.
struct Handed {
    int fd = -1;
    struct stat status {};
    std::string folder;
    std::string name;
    size_t item = 0; // the root item it lies in
};

// Work for one thread: a root item, or a handed folder.
struct Job {
    size_t item = 0;
    std::optional<Handed> handed;
};

class SharedMeasurement {
public:
    SharedMeasurement(int folderFd, const std::vector<std::string>& names, const std::function<void(int)>& onUnreadable)
        : folderFd_(folderFd), names_(names), onUnreadable_(onUnreadable), totals_(names.size(), 0)
    {
    }
    void work();
    std::vector<double> sizes() const
    {
        std::vector<double> result;
        result.reserve(totals_.size());
        for (const uint64_t total : totals_)
            result.push_back(static_cast<double>(total));
        return result;
    }

private:
    std::optional<Job> take();
    void finish(size_t item, uint64_t bytes);
    bool offer(int fd, const WalkEntry& entry, size_t item);
    void tellUnreadable(int error);
    void updateHunger() { hungry_.store(idle_ > static_cast<int>(handed_.size()), std::memory_order_relaxed); }

    const int folderFd_;
    const std::vector<std::string>& names_;
    const std::function<void(int)>& onUnreadable_;

    std::mutex mutex_; // guards everything below but hungry_
    std::condition_variable changed_;
    std::vector<uint64_t> totals_;
    std::deque<Handed> handed_;
    size_t nextItem_ = 0;
    int busy_ = 0;
    int idle_ = 0;
    // A thread waits with nothing to do: a folder met now is worth handing over.
    std::atomic<bool> hungry_{false};
    std::mutex tellMutex_;
};

std::optional<Job> SharedMeasurement::take()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        // Handed folders first: each holds a descriptor.
        if (!handed_.empty()) {
            Job job{handed_.front().item, std::move(handed_.front())};
            handed_.pop_front();
            ++busy_;
            updateHunger();
            return job;
        }
        if (nextItem_ < names_.size()) {
            ++busy_;
            return Job{nextItem_++, std::nullopt};
        }
        if (busy_ == 0)
            return std::nullopt; // nothing left, and nobody can hand anything over
        ++idle_;
        updateHunger();
        changed_.wait(lock);
        --idle_;
        updateHunger();
    }
}

void SharedMeasurement::finish(size_t item, uint64_t bytes)
{
    std::lock_guard lock(mutex_);
    totals_[item] += bytes;
    if (--busy_ == 0 && handed_.empty())
        changed_.notify_all();
}

bool SharedMeasurement::offer(int fd, const WalkEntry& entry, size_t item)
{
    if (!hungry_.load(std::memory_order_relaxed))
        return false;
    std::lock_guard lock(mutex_);
    if (idle_ <= static_cast<int>(handed_.size()))
        return false;
    handed_.push_back(Handed{fd, entry.status, std::string(entry.folder), entry.name, item});
    updateHunger();
    changed_.notify_one();
    return true;
}

void SharedMeasurement::tellUnreadable(int error)
{
    if (!onUnreadable_)
        return;
    std::lock_guard lock(tellMutex_);
    onUnreadable_(error);
}

void SharedMeasurement::work()
{
    while (auto job = take()) {
        uint64_t bytes = 0;
        WalkCallbacks callbacks;
        callbacks.visit = [&](const WalkEntry& entry) {
            if (entry.statError == 0)
                bytes += static_cast<uint64_t>(entry.status.st_size);
            else
                tellUnreadable(entry.statError);
            return WalkAction::Continue;
        };
        const size_t item = job->item;
        callbacks.handOff = [this, item](int fd, const WalkEntry& entry) { return offer(fd, entry, item); };
        if (job->handed)
            walkFolderContent(job->handed->fd, job->handed->status, job->handed->folder, job->handed->name, callbacks);
        else
            walkTree(folderFd_, std::string(), names_[item], callbacks);
        finish(item, bytes);
    }
}

} // namespace

std::vector<double> measuredSizes(int folderFd, const std::vector<std::string>& names, int threads,
                                  const std::function<void(int)>& onUnreadable)
{
    SharedMeasurement shared(folderFd, names, onUnreadable);
    std::vector<std::jthread> helpers;
    for (int i = 1; i < threads && !names.empty(); ++i) {
        try {
            helpers.emplace_back([&shared] { shared.work(); });
        } catch (const std::system_error&) {
            break; // fewer threads share the work
        }
    }
    shared.work();
    for (auto& helper : helpers)
        helper.join();
    return shared.sizes();
}

} // namespace bw::posix
