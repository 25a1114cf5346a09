#pragma once
#include <mutex>
#include <string>

namespace bw {

class Controllers;
struct Platform;

// Hands trash items that the user may not read or change back to the user, through the
// project's privileged helper, started once with administrator authorization.
class Security {
public:
    explicit Security(const Platform& platform);
    ~Security();
    Security(const Security&) = delete;
    Security& operator=(const Security&) = delete;
    void wire(Controllers& controllers);

    // Whether the helper runs and holds the right now, asking no one.
    bool isAuthenticated();
    // Starts the helper, which shows the system's authorization dialog; true when granted.
    bool fetchPassword();
    // The right is held after the call, asking the user only when it is not held yet.
    bool authenticate();
    // Ends the helper and with it the right.
    void deauthenticate();

    // 0 when nothing was needed or the repair was started, -1 when authorization was
    // refused, else the error of starting it. Never waits for the repair itself.
    long folderEnabler(const std::string& path);
    // The same for an item and everything below it; the result of the last check.
    // repairStarted (when given) tells whether any repair was handed to the helper.
    long allFilesEnabler(const std::string& path, bool* repairStarted = nullptr);

private:
    long enable(const std::string& path, bool& started);

    const Platform& platform_;
    // One authorization dialog at a time, however many workers need the right at once.
    std::mutex authorizationMutex_;
};

} // namespace bw
