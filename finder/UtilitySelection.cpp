#include "finder/Utility.h"

#include <algorithm>

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/SelectionSource.h"
#include "platform/posix/Files.h"

namespace bw {

namespace {

// The path with doubled slashes, "." components and a trailing slash taken out; none when
// it is relative or steps up with "..", which a file manager never writes.
std::optional<std::string> normalized(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    std::string result;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string component = path.substr(start, end - start);
        if (component == "..")
            return std::nullopt;
        if (!component.empty() && component != ".")
            result += "/" + component;
        start = end + 1;
    }
    return result.empty() ? "/" : result;
}

} // namespace

std::optional<std::vector<std::string>> Utility::selectedTrashFiles() const
{
    auto paths = selectedTrashPaths();
    if (!paths)
        return std::nullopt;
    std::vector<std::string> names;
    for (const auto& path : *paths)
        names.push_back(posix::lastComponent(path));
    return names;
}

std::optional<std::vector<std::string>> Utility::selectedTrashPaths() const
{
    if (!platform_.selection)
        return std::nullopt;
    const CopiedFiles copied = platform_.selection->copiedFiles();
    if (copied.kind == CopiedFiles::Kind::Empty)
        return std::vector<std::string>();
    // The clipboard could not be asked: the only failure worth a log line.
    if (copied.kind == CopiedFiles::Kind::Unreadable) {
        platform_.log->line("error=" + (copied.error.empty() ? std::string("the clipboard did not answer") : copied.error));
        return std::nullopt;
    }
    if (copied.kind != CopiedFiles::Kind::Files)
        return std::nullopt;
    std::vector<std::string> paths;
    for (const auto& path : copied.paths) {
        auto clean = normalized(path);
        // One item that is not a root item of a trash voids the whole selection.
        if (!clean || !isDirectlyInTrash(*clean))
            return std::nullopt;
        paths.push_back(std::move(*clean));
    }
    return paths;
}

bool Utility::isDirectlyInTrash(const std::string& path) const
{
    if (path == "/")
        return false;
    // A root item lies directly in an item folder of the home trash or of a volume trash
    // (a per-user folder, a freedesktop "files" folder).
    const std::string parent = posix::parentPath(path);
    const auto holds = [&parent](const std::vector<ItemFolder>& folders) {
        return std::any_of(folders.begin(), folders.end(), [&](const ItemFolder& f) { return f.path == parent; });
    };
    if (holds(outInternal_->itemFolders()))
        return true;
    for (const auto& volume : outExternal_->volumePaths())
        if (holds(outExternal_->itemFoldersAtPath(volume)))
            return true;
    return false;
}

} // namespace bw
