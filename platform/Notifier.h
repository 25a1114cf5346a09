#pragma once
#include <string>

namespace bw {

// Desktop notifications: a short summary and a line of text that the desktop shows for a
// while and lets go. Main thread only.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void notify(const std::string& summary, const std::string& body) = 0;
};

// Without a display nobody sees a notification.
class SilentNotifier final : public Notifier {
public:
    void notify(const std::string&, const std::string&) override {}
};

} // namespace bw
