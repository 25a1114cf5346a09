#include "platform/SelectionSource.h"

#include "platform/Format.h"

namespace bw {

namespace {

std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Files when every address is a local file, Empty when there is none, Other otherwise.
CopiedFiles fromAddresses(const std::vector<std::string_view>& addresses)
{
    CopiedFiles copied;
    copied.kind = addresses.empty() ? CopiedFiles::Kind::Empty : CopiedFiles::Kind::Files;
    for (const auto address : addresses) {
        auto path = localPathOfFileUri(address);
        if (!path)
            return CopiedFiles{CopiedFiles::Kind::Other, {}, {}};
        copied.paths.push_back(std::move(*path));
    }
    return copied;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

std::optional<std::string> localPathOfFileUri(std::string_view uri)
{
    if (startsWith(uri, "file://localhost/"))
        uri.remove_prefix(16);
    else if (startsWith(uri, "file:///"))
        uri.remove_prefix(7);
    else if (startsWith(uri, "file:/") && !startsWith(uri, "file://"))
        uri.remove_prefix(5);
    else
        return std::nullopt;
    // A query or fragment has no place in a file's address; the name would be cut short.
    if (uri.find_first_of("?#") != std::string_view::npos)
        return std::nullopt;
    return percentDecoded(uri);
}

CopiedFiles copiedFilesFromUriList(std::string_view text)
{
    std::vector<std::string_view> addresses;
    for (const auto line : linesOf(text))
        if (!line.empty() && line.front() != '#')
            addresses.push_back(line);
    return fromAddresses(addresses);
}

CopiedFiles copiedFilesFromGnomeList(std::string_view text)
{
    auto lines = linesOf(text);
    if (lines.empty() || (lines.front() != "copy" && lines.front() != "cut"))
        return CopiedFiles{CopiedFiles::Kind::Other, {}, {}};
    std::vector<std::string_view> addresses;
    for (size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].empty())
            addresses.push_back(lines[i]);
    return fromAddresses(addresses);
}

} // namespace bw
