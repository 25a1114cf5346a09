#pragma once
// Fakes of the desktop facilities, so the controllers run in tests without a display.
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Log.h"
#include "platform/ModifierKeys.h"
#include "platform/TrashItemChooser.h"
#include "platform/Notifier.h"
#include "platform/SpaceSource.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace bw::test {

// Keeps every line, for tests to look at.
class CapturingLog final : public Log {
public:
    void line(const std::string& text) override;
    std::vector<std::string> lines() const;
    int count(const std::string& text) const;
    bool contains(const std::string& fragment) const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

// Passes every line on to a captured log and lets a test act at a chosen line, as a user
// would at that moment of a pass.
class HookedLog final : public Log {
public:
    explicit HookedLog(CapturingLog& to) : to_(to) {}
    void line(const std::string& text) override
    {
        to_.line(text);
        if (hook)
            hook(text);
    }
    std::function<void(const std::string&)> hook;

private:
    CapturingLog& to_;
};

class FakeModifierKeys final : public ModifierKeys {
public:
    bool isOptionHeld() override { return held.load(); }
    std::atomic<bool> held{false};
};

// Virtual time: sleeping advances it at once (after a real millisecond, so that the other
// threads of a test get to run).
class FakeClock final : public Clock {
public:
    TimePoint now() const override;
    void sleepFor(Seconds duration) override;
    void advance(Seconds duration);
    double slept() const; // seconds slept in all, by every thread

private:
    mutable std::mutex mutex_;
    TimePoint now_ = std::chrono::system_clock::from_time_t(1700000000);
    double slept_ = 0.0;
};

// In-memory store; counts flushes and keeps what was flushed apart from what was set.
class FakeDefaultsStore final : public DefaultsStore {
public:
    void registerDefaults(const std::map<std::string, DefaultValue>& defaults) override;
    float floatForKey(const std::string& key) override;
    bool boolForKey(const std::string& key) override;
    std::optional<TimePoint> dateForKey(const std::string& key) override;
    std::optional<std::string> stringForKey(const std::string& key) override;
    void setFloat(const std::string& key, float value) override;
    void setBool(const std::string& key, bool value) override;
    void setDate(const std::string& key, TimePoint value) override;
    void setString(const std::string& key, const std::string& value) override;
    void synchronize() override;

    std::map<std::string, DefaultValue> stored() const;    // what was flushed
    std::map<std::string, DefaultValue> persisted;          // the "file", read at lookup
    int synchronizeCount = 0;

private:
    std::optional<DefaultValue> lookup(const std::string& key) const;
    mutable std::mutex mutex_;
    std::map<std::string, DefaultValue> registered_;
    std::map<std::string, DefaultValue> pending_;
};

// Figures set by the test; any path gives the same volume unless mapped.
class FakeSpaceSource final : public SpaceSource {
public:
    SpaceFigures figures(const std::string& path) override;
    void set(double capacity, double free);
    void setFor(const std::string& path, double capacity, double free);
    std::vector<std::string> askedPaths() const;

private:
    mutable std::mutex mutex_;
    SpaceFigures figures_;
    std::map<std::string, SpaceFigures> byPath_;
    std::vector<std::string> asked_;
};

// A chooser that answers as the user would: with `result`, or none for Cancel; shown again
// with a choice kept (after a declined confirmation) it answers `resultAgain`. It keeps what
// it was shown.
class FakeTrashItemChooser final : public TrashItemChooser {
public:
    std::optional<std::vector<std::string>> runModal(const TrashItemChooserContent& content) override;

    std::optional<std::vector<std::string>> result; // what the user chooses; none = Cancel
    std::optional<std::vector<std::string>> resultAgain; // Cancel unless set
    TrashItemChooserContent lastContent;
    std::vector<std::string> offeredPaths() const;  // the rows of the last run, in order
    int runs = 0;
};

// Keeps every notification, summary and text; main thread only, as the real ones.
class FakeNotifier final : public Notifier {
public:
    void notify(const std::string& summary, const std::string& body) override { shown.push_back({summary, body}); }
    std::vector<std::pair<std::string, std::string>> shown;
};

} // namespace bw::test
