#pragma once
#include <string>

namespace bw {

class Controllers;
struct Platform;

// Hands trash items that the user may not read or change back to the user, through the
// project's privileged helper, started once with administrator authorization.
class Security {
public:
    explicit Security(const Platform& platform);
    void wire(Controllers& controllers);

    // 0 when nothing was needed or the repair was started, -1 when authorization was
    // refused, else the error of starting it. Never waits for the repair itself.
    long folderEnabler(const std::string& path);
    // The same for an item and everything below it; the result of the last check.
    // repairStarted (when given) tells whether any repair was handed to the helper.
    long allFilesEnabler(const std::string& path, bool* repairStarted = nullptr);

private:
    const Platform& platform_;
};

} // namespace bw
