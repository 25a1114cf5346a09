#pragma once
#include "platform/Clock.h"

#include <map>
#include <mutex>
#include <string>
#include <sys/stat.h>

namespace bw {

struct Platform;

// Makes trash items deletable. The user's own folders are fixed here, without a password;
// an item of someone else that stands in the way of a deletion is handed back to the user
// through the project's privileged helper, started once with administrator authorization.
class Security {
public:
    explicit Security(const Platform& platform);
    ~Security();
    Security(const Security&) = delete;
    Security& operator=(const Security&) = delete;

    // Whether the helper runs and holds the right now, asking no one.
    bool isAuthenticated();
    // Starts the helper, which shows the system's authorization dialog; true when granted.
    bool fetchPassword();
    // The right is held after the call, asking the user only when it is not held yet.
    bool authenticate();
    // Ends the helper and with it the right.
    void deauthenticate();

    // Makes the folder `path` one whose entries the user can delete (write and search).
    // 0 when nothing was needed or the repair was started, -1 when authorization was
    // refused (now or within the last hour), else the error of starting it. Never waits for
    // the repair itself.
    long folderEnabler(const std::string& path);
    // The same for an item and every folder below it, which must also be listed and
    // emptied; the first failure, or 0. repairStarted (when given) tells whether any repair
    // was handed to the helper.
    long allFilesEnabler(const std::string& path, bool* repairStarted = nullptr);

    // After a refusal or failure a path is not asked about again for an hour. The user's
    // own request (from the menu or a panel) calls this first, so that it asks at once.
    void forgetRefusals();

private:
    long enable(int parentFd, const char* name, const std::string& path, int needed, const std::string& askedFor,
                bool& started);
    // The same, for an entry whose lstat `st` was just taken (by a walk).
    long enableSeen(int parentFd, const char* name, const struct stat& st, const std::string& path, int needed,
                    const std::string& askedFor, bool& started);
    long grantOwnFolder(int parentFd, const char* name, const struct stat& seen, const std::string& path);
    long refuse(const std::string& askedFor, long result, const std::string& why);
    bool isRefusedRecently(const std::string& askedFor);
    bool isInOwnTrash(const std::string& path) const;

    const Platform& platform_;
    // One authorization dialog at a time, however many workers need the right at once.
    std::mutex authorizationMutex_;
    std::mutex refusedMutex_;
    std::map<std::string, TimePoint> refusedAt_;
};

} // namespace bw
