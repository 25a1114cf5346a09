#pragma once
#include <string>

namespace bw {

// Whether the program starts when the user logs in: the user's own autostart entry.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool isEnabled() const = 0;
    // Writes or removes the entry; false with `error` set when that failed.
    virtual bool setEnabled(bool on, std::string& error) = 0;
};

} // namespace bw
