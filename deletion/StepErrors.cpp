#include "deletion/StepErrors.h"

#include <cerrno>

namespace bw::stepErrors {

namespace {
thread_local bool sawTransient = false;
thread_local bool quietStep = false;
} // namespace

void begin(bool quiet)
{
    sawTransient = false;
    quietStep = quiet;
}

void note(int error)
{
    if (error == EMFILE || error == ENFILE || error == ENOMEM || error == EAGAIN || error == EINTR)
        sawTransient = true;
}

bool transient()
{
    return sawTransient;
}

bool quiet()
{
    return quietStep;
}

} // namespace bw::stepErrors
