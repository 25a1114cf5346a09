#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bw {

// What the desktop clipboard holds, as a copy in the file manager leaves it.
struct CopiedFiles {
    enum class Kind {
        Unreadable, // no clipboard to ask (no display), or it did not answer
        Empty,      // nothing copied
        Files,      // local files: `paths`
        Other,      // text, pictures, remote or malformed addresses
    };
    Kind kind = Kind::Unreadable;
    // Absolute local paths, percent-decoded to the bytes of the names, in the copied order.
    std::vector<std::string> paths;
    // Why an Unreadable clipboard could not be read, as the system put it.
    std::string error;
};

// The files the user copied in the file manager; stands for the file manager's selection.
// Main thread only.
class SelectionSource {
public:
    virtual ~SelectionSource() = default;
    virtual CopiedFiles copiedFiles() = 0;
};

// The path of a local "file:" address (no host, or "localhost"), percent-decoded; none for
// anything else, for a bad escape, and for a name holding a NUL byte.
std::optional<std::string> localPathOfFileUri(std::string_view uri);

// "text/uri-list": one address a line, CRLF or LF, lines starting with '#' are comments.
CopiedFiles copiedFilesFromUriList(std::string_view text);

// "x-special/gnome-copied-files": "copy" or "cut" on the first line, then one address a line.
CopiedFiles copiedFilesFromGnomeList(std::string_view text);

} // namespace bw
