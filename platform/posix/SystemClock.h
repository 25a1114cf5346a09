#pragma once
#include "platform/Clock.h"

namespace bw::posix {

class SystemClock final : public Clock {
public:
    TimePoint now() const override;
    void sleepFor(Seconds duration) override;
};

} // namespace bw::posix
