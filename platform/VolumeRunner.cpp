#include "platform/VolumeRunner.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace bw {

namespace {

// How often a waiting caller looks at its deadline and at `giveUp`.
constexpr std::chrono::milliseconds kWaitSlice{100};
// How long the end of a runner waits for a step that is still going on.
constexpr std::chrono::milliseconds kEndingWait{500};

int64_t steadyNow()
{
    return VolumeRunner::steadyNanoseconds();
}

} // namespace

struct VolumeRunner::State {
    struct Job {
        std::function<void()> work;
        std::shared_ptr<std::atomic<bool>> abandoned; // null for a posted job
    };

    std::mutex mutex;
    std::condition_variable wake;  // a job or the end was handed over
    std::condition_variable ended; // a job ended
    std::deque<Job> jobs;
    bool stopping = false;
    uint64_t handed = 0;   // jobs handed over so far
    uint64_t finished = 0; // jobs ended or dropped so far, in the order handed over
    std::atomic<bool> inStep{false};
    std::atomic<int64_t> lastSign{0}; // steady nanoseconds of the running step's start or progress

    bool answering() const
    {
        return !inStep.load() || steadyNow() - lastSign.load() < std::chrono::nanoseconds(kSilence).count();
    }
    void loop();
};

void VolumeRunner::State::loop()
{
    progressSign = &lastSign;
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || !jobs.empty(); });
        if (jobs.empty())
            return;
        Job job = std::move(jobs.front());
        jobs.pop_front();
        if (!job.abandoned || !job.abandoned->load()) {
            lastSign.store(steadyNow());
            inStep.store(true);
            lock.unlock();
            job.work();
            job = {}; // what the step held goes before its end is told
            lock.lock();
            inStep.store(false);
        }
        ++finished;
        ended.notify_all();
    }
}

VolumeRunner::VolumeRunner() : state_(std::make_shared<State>())
{
    // The thread keeps the state alive: left behind in a step, it outlives this object.
    std::thread([state = state_] { state->loop(); }).detach();
}

VolumeRunner::~VolumeRunner()
{
    std::unique_lock lock(state_->mutex);
    state_->stopping = true;
    // Work not begun is dropped; the thread ends after the step it is in, if any.
    state_->finished += state_->jobs.size();
    state_->jobs.clear();
    state_->wake.notify_all();
    // A step that goes on is waited for a while: it may use what its owner is about to
    // destroy. One that does not answer, or takes longer, is left behind.
    const auto deadline = std::chrono::steady_clock::now() + kEndingWait;
    while (state_->inStep.load() && state_->answering() && std::chrono::steady_clock::now() < deadline)
        state_->ended.wait_for(lock, kWaitSlice);
}

void VolumeRunner::post(std::function<void()> job)
{
    std::lock_guard lock(state_->mutex);
    state_->jobs.push_back({std::move(job), nullptr});
    ++state_->handed;
    state_->wake.notify_all();
}

VolumeRunner::Outcome VolumeRunner::run(std::function<void()> step, const std::function<bool()>& giveUp)
{
    State& state = *state_;
    if (!state.answering())
        return Outcome::NotAnswering;
    auto abandoned = std::make_shared<std::atomic<bool>>(false);
    std::unique_lock lock(state.mutex);
    state.jobs.push_back({std::move(step), abandoned});
    const uint64_t ticket = ++state.handed;
    state.wake.notify_all();
    for (;;) {
        if (state.ended.wait_for(lock, kWaitSlice, [&] { return state.finished >= ticket; }))
            return Outcome::Done;
        const bool gaveUp = giveUp && giveUp();
        if (gaveUp || !state.answering()) {
            abandoned->store(true);
            return gaveUp ? Outcome::GaveUp : Outcome::NotAnswering;
        }
    }
}

bool VolumeRunner::answering() const
{
    return state_->answering();
}

bool VolumeRunner::busy() const
{
    std::lock_guard lock(state_->mutex);
    return state_->finished < state_->handed;
}


} // namespace bw
