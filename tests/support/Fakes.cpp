#include "tests/support/Fakes.h"

#include <algorithm>
#include <thread>

namespace bw::test {

void CapturingLog::line(const std::string& text)
{
    std::lock_guard lock(mutex_);
    lines_.push_back(text);
}

std::vector<std::string> CapturingLog::lines() const
{
    std::lock_guard lock(mutex_);
    return lines_;
}

int CapturingLog::count(const std::string& text) const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count(lines_.begin(), lines_.end(), text));
}

bool CapturingLog::contains(const std::string& fragment) const
{
    std::lock_guard lock(mutex_);
    return std::any_of(lines_.begin(), lines_.end(),
                       [&](const std::string& l) { return l.find(fragment) != std::string::npos; });
}

void CapturingLog::clear()
{
    std::lock_guard lock(mutex_);
    lines_.clear();
}

TimePoint FakeClock::now() const
{
    std::lock_guard lock(mutex_);
    return now_;
}

void FakeClock::sleepFor(Seconds duration)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::lock_guard lock(mutex_);
    now_ += std::chrono::duration_cast<std::chrono::system_clock::duration>(duration);
    slept_ += duration.count();
}

void FakeClock::advance(Seconds duration)
{
    std::lock_guard lock(mutex_);
    now_ += std::chrono::duration_cast<std::chrono::system_clock::duration>(duration);
}

double FakeClock::slept() const
{
    std::lock_guard lock(mutex_);
    return slept_;
}

void FakeDefaultsStore::registerDefaults(const std::map<std::string, DefaultValue>& defaults)
{
    std::lock_guard lock(mutex_);
    for (const auto& [k, v] : defaults)
        registered_[k] = v;
}

std::optional<DefaultValue> FakeDefaultsStore::lookup(const std::string& key) const
{
    if (auto it = pending_.find(key); it != pending_.end())
        return it->second;
    if (auto it = persisted.find(key); it != persisted.end())
        return it->second;
    if (auto it = registered_.find(key); it != registered_.end())
        return it->second;
    return std::nullopt;
}

template <typename T>
static std::optional<T> as(const std::optional<DefaultValue>& v)
{
    if (v && std::holds_alternative<T>(*v))
        return std::get<T>(*v);
    return std::nullopt;
}

float FakeDefaultsStore::floatForKey(const std::string& key)
{
    std::lock_guard lock(mutex_);
    return as<float>(lookup(key)).value_or(0.0f);
}

bool FakeDefaultsStore::boolForKey(const std::string& key)
{
    std::lock_guard lock(mutex_);
    return as<bool>(lookup(key)).value_or(false);
}

std::optional<TimePoint> FakeDefaultsStore::dateForKey(const std::string& key)
{
    std::lock_guard lock(mutex_);
    return as<TimePoint>(lookup(key));
}

std::optional<std::string> FakeDefaultsStore::stringForKey(const std::string& key)
{
    std::lock_guard lock(mutex_);
    return as<std::string>(lookup(key));
}

void FakeDefaultsStore::setFloat(const std::string& key, float value)
{
    std::lock_guard lock(mutex_);
    pending_[key] = value;
}

void FakeDefaultsStore::setBool(const std::string& key, bool value)
{
    std::lock_guard lock(mutex_);
    pending_[key] = value;
}

void FakeDefaultsStore::setDate(const std::string& key, TimePoint value)
{
    std::lock_guard lock(mutex_);
    pending_[key] = value;
}

void FakeDefaultsStore::setString(const std::string& key, const std::string& value)
{
    std::lock_guard lock(mutex_);
    pending_[key] = value;
}

void FakeDefaultsStore::synchronize()
{
    std::lock_guard lock(mutex_);
    for (auto& [k, v] : pending_)
        persisted[k] = v;
    pending_.clear();
    ++synchronizeCount;
}

std::map<std::string, DefaultValue> FakeDefaultsStore::stored() const
{
    std::lock_guard lock(mutex_);
    return persisted;
}

SpaceFigures FakeSpaceSource::figures(const std::string& path)
{
    std::lock_guard lock(mutex_);
    asked_.push_back(path);
    if (auto it = byPath_.find(path); it != byPath_.end())
        return it->second;
    return figures_;
}

void FakeSpaceSource::set(double capacity, double free)
{
    std::lock_guard lock(mutex_);
    figures_ = {capacity, free};
}

void FakeSpaceSource::setFor(const std::string& path, double capacity, double free)
{
    std::lock_guard lock(mutex_);
    byPath_[path] = {capacity, free};
}

std::vector<std::string> FakeSpaceSource::askedPaths() const
{
    std::lock_guard lock(mutex_);
    return asked_;
}

std::optional<std::vector<std::string>> FakeTrashItemChooser::runModal(const TrashItemChooserContent& content)
{
    lastContent = content;
    ++runs;
    return content.chosen.empty() ? result : resultAgain;
}

std::vector<std::string> FakeTrashItemChooser::offeredPaths() const
{
    std::vector<std::string> paths;
    for (const auto& row : lastContent.rows)
        paths.push_back(row.path);
    return paths;
}

} // namespace bw::test
