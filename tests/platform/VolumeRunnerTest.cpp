#include "platform/VolumeRunner.h"
#include "platform/Workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace bw::test {
namespace {

using namespace std::chrono_literals;

// A step that hangs as in a frozen file system: it shows no progress until released.
struct Hang {
    std::atomic<bool> released{false};
    void operator()() const
    {
        while (!released.load())
            std::this_thread::sleep_for(10ms);
    }
};

TEST(VolumeRunnerTest, AHungStepHoldsUpOnlyItsOwnVolumeAndTheVolumeIsTakenUpWhenItAnswers)
{
    auto hang = std::make_shared<Hang>();
    VolumeRunner frozen;
    VolumeRunner other;

    // The step is given up on once it shows no progress; the volume does not answer.
    EXPECT_EQ(frozen.run([hang] { (*hang)(); }), VolumeRunner::Outcome::NotAnswering);
    EXPECT_FALSE(frozen.answering());
    // A later step is refused at once and never runs, not even after the volume answers.
    auto ranLate = std::make_shared<std::atomic<bool>>(false);
    EXPECT_EQ(frozen.run([ranLate] { ranLate->store(true); }), VolumeRunner::Outcome::NotAnswering);
    // Another volume goes on meanwhile.
    bool otherRan = false;
    EXPECT_EQ(other.run([&otherRan] { otherRan = true; }), VolumeRunner::Outcome::Done);
    EXPECT_TRUE(otherRan);
    // Quitting gives up on a volume without waiting for the deadline.
    EXPECT_EQ(other.run([hang] { (*hang)(); }, [] { return true; }), VolumeRunner::Outcome::GaveUp);

    // Workers waited for at quit leave a thread stuck in such a step behind.
    Workers workers;
    workers.start([hang] { (*hang)(); });
    EXPECT_FALSE(workers.waitForAll(100ms));
    EXPECT_EQ(workers.running(), 0);

    hang->released.store(true);
    while (frozen.busy())
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(frozen.answering());
    bool ranAfter = false;
    EXPECT_EQ(frozen.run([&ranAfter] { ranAfter = true; }), VolumeRunner::Outcome::Done);
    EXPECT_TRUE(ranAfter);
    EXPECT_FALSE(ranLate->load());
}

TEST(VolumeRunnerTest, AStepThatShowsProgressIsWaitedForBeyondTheSilence)
{
    VolumeRunner runner;
    bool finished = false;
    EXPECT_EQ(runner.run([&finished] {
        const auto end = std::chrono::steady_clock::now() + VolumeRunner::kSilence + 1s;
        while (std::chrono::steady_clock::now() < end) {
            VolumeRunner::noteProgress();
            std::this_thread::sleep_for(50ms);
        }
        finished = true;
    }),
              VolumeRunner::Outcome::Done);
    EXPECT_TRUE(finished);
}

} // namespace
} // namespace bw::test
