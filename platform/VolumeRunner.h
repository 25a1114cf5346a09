#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace bw {

// The thread that does the file-system work of one volume (measuring, listing, deleting),
// one step at a time in the order handed over. A volume that stops answering (frozen, a
// disk that hangs) holds up only its own thread: whoever hands it a step waits with a
// deadline, and a thread stuck in the kernel is left behind, never joined.
class VolumeRunner {
public:
    // A step that has run this long without a sign of progress (noteProgress) has a volume
    // that does not answer.
    static constexpr std::chrono::milliseconds kSilence{2000};

    VolumeRunner();
    // Drops what has not begun and waits for a step that runs while the volume answers; a
    // thread stuck in a step is left to end by itself.
    ~VolumeRunner();
    VolumeRunner(const VolumeRunner&) = delete;
    VolumeRunner& operator=(const VolumeRunner&) = delete;

    enum class Outcome {
        Done,         // the step ran to its end
        NotAnswering, // the volume does not answer: the step was not run, or runs on alone
        GaveUp,       // `giveUp` said so before the step ended
    };
    // Runs `step` on the volume's thread after what was handed over before, and waits for
    // its end while the volume answers and `giveUp` (when given) is false. A step that has
    // not begun when the wait ends is never run. Whatever `step` touches must outlive it:
    // a step left behind runs on after this returns.
    Outcome run(std::function<void()> step, const std::function<bool()>& giveUp = {});
    // Hands over `job` without waiting for it.
    void post(std::function<void()> job);

    // No step runs, or the running one has shown progress within kSilence.
    bool answering() const;
    // Steps handed over and not yet ended.
    bool busy() const;

    // Called from inside a step: the step goes on, so its volume answers. Does nothing on
    // any other thread. Inline, so that code shared with programs without runners (the
    // repair helper's walk) needs nothing more than this header.
    static void noteProgress()
    {
        if (std::atomic<int64_t>* sign = progressSign)
            sign->store(steadyNanoseconds());
    }
    static int64_t steadyNanoseconds()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    struct State; // shared with the thread, which may outlive this object

private:
    // The running step's sign of life, on a runner's own thread; null elsewhere.
    static inline thread_local std::atomic<int64_t>* progressSign = nullptr;
    std::shared_ptr<State> state_;
};

} // namespace bw
