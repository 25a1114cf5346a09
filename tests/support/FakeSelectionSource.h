#pragma once
#include "platform/SelectionSource.h"

namespace bw::test {

// The clipboard as the test fills it: nothing copied until the test copies something.
class FakeSelectionSource final : public SelectionSource {
public:
    CopiedFiles copiedFiles() override;
    void copy(std::vector<std::string> paths);
    void set(CopiedFiles::Kind kind, std::string error = {});
    int reads() const { return reads_; }

private:
    CopiedFiles copied_{CopiedFiles::Kind::Empty, {}, {}};
    int reads_ = 0;
};

} // namespace bw::test
