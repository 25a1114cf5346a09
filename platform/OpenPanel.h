#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bw {

struct OpenPanelOptions {
    bool allowsMultipleSelection = true;
    bool canChooseDirectories = true;
    bool canChooseFiles = true;
    std::string title;
    std::string prompt;
    std::string message;
    std::string startDirectory;
    std::vector<std::string> places; // folders offered beside the list
};

// A modal file chooser. While it runs it reports every change of its directory to the
// given handler, which may send it elsewhere with setDirectory().
class OpenPanel {
public:
    virtual ~OpenPanel() = default;
    // The chosen absolute paths in the panel's order, or none when the user cancelled.
    virtual std::optional<std::vector<std::string>> runModal(
        const OpenPanelOptions& options, std::function<void(OpenPanel&)> directoryDidChange) = 0;
    virtual std::string directory() const = 0;
    virtual void setDirectory(const std::string& path) = 0;
};

} // namespace bw
