#include "deletion/DeletionEvent.h"

namespace bw {

const char* reasonName(DeletionReason reason)
{
    switch (reason) {
    case DeletionReason::FreeSpace:
        return "free space";
    case DeletionReason::Age:
        return "age";
    case DeletionReason::SizeCap:
        return "size cap";
    case DeletionReason::ForcedEmptying:
        return "forced emptying";
    case DeletionReason::ChosenItems:
        return "chosen items";
    case DeletionReason::CommandLine:
        return "command line";
    }
    return "unknown";
}

} // namespace bw
