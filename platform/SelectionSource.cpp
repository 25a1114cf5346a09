#include "platform/SelectionSource.h"

namespace bw {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes of a percent-encoded path; none for a bad escape or a decoded NUL.
std::optional<std::string> percentDecoded(std::string_view encoded)
{
    std::string bytes;
    bytes.reserve(encoded.size());
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            bytes.push_back(encoded[i]);
            continue;
        }
        const int high = i + 2 < encoded.size() ? hexValue(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(encoded[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0))
            return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return bytes;
}

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
