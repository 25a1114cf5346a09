#include "tests/support/FakeSelectionSource.h"

namespace bw::test {

CopiedFiles FakeSelectionSource::copiedFiles()
{
    ++reads_;
    return copied_;
}

void FakeSelectionSource::copy(std::vector<std::string> paths)
{
    copied_ = {paths.empty() ? CopiedFiles::Kind::Empty : CopiedFiles::Kind::Files, std::move(paths), {}};
}

void FakeSelectionSource::set(CopiedFiles::Kind kind, std::string error)
{
    copied_ = {kind, {}, std::move(error)};
}

} // namespace bw::test
