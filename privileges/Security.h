#pragma once
#include "platform/Clock.h"
#include "platform/PrivilegedLauncher.h"
#include "privileges/helper/UserTrash.h"

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>

namespace bw {

struct Platform;

// How the privileged helper removes on the shredder's behalf, and where that is counted.
struct RepairRemoval {
    bool overwrite = true;                   // files of one link are overwritten first, as the shredder's are
    std::atomic<double>* fileSize = nullptr; // lowered by what the helper removed
};

// Makes trash items deletable. The user's own folders are fixed here, without a password;
// what someone else left in the user's trash that the user cannot remove is removed by the
// project's privileged helper, started with administrator authorization for that one
// repair. Nothing is ever handed over to the user.
class Security {
public:
    explicit Security(const Platform& platform);
    ~Security();
    Security(const Security&) = delete;
    Security& operator=(const Security&) = delete;

    // Whether a helper waits for its repair now, asking no one.
    bool isAuthenticated();
    // Starts the helper, which shows the system's authorization dialog; true when granted.
    bool fetchPassword();
    // A helper waits after the call, asking the user only when none waits yet.
    bool authenticate();
    // Ends a waiting helper.
    void deauthenticate();

    // Makes the folder `path` one whose entries the user can delete: the user's own folder
    // is opened up; a volume's shared ".Trashes" is opened to all by the helper; in any other
    // folder of the user's trash the helper removes what the user cannot. 0 when nothing was
    // needed or the repair was made, -1 when authorization was refused (now or within the
    // last hour), else the error of the repair.
    long folderEnabler(const std::string& path);
    // The same for an item and everything below it, which must also be listed and emptied,
    // with one run of the helper for the whole item; the first failure, or 0. repairStarted
    // (when given) tells whether the helper was run; what it removed is counted in
    // `removal.fileSize`.
    long allFilesEnabler(const std::string& path, bool* repairStarted = nullptr, const RepairRemoval& removal = {});

    // After a refusal or failure a path is not asked about again for an hour. The user's
    // own request (from the menu or a panel) calls this first, so that it asks at once.
    void forgetRefusals();

private:
    long enable(int parentFd, const char* name, const std::string& path, int needed, const std::string& askedFor,
                bool& started, const RepairRemoval& removal);
    // The same, for an entry whose lstat `st` was just taken (by a walk); `stuck` when it lies
    // in someone else's sticky folder and is not the user's, so that only a repair removes it.
    long enableSeen(int parentFd, const char* name, const struct stat& st, const std::string& path, int needed,
                    const std::string& askedFor, bool& started, const RepairRemoval& removal, bool stuck = false);
    // One run of the helper on `askedFor`; 0, -1 (refused) or the repair's error.
    long repairWithHelper(const std::string& askedFor, const RepairRemoval& removal);
    // Tells the user why a repair failed (`cause`, translated, then `detail` as it is), once
    // for each until a repair works or the user asks again.
    void tellFailure(const std::string& cause, const std::string& detail = {});
    std::string localized(const std::string& text) const;
    long grantOwnFolder(int parentFd, const char* name, const struct stat& seen, const std::string& path);
    long refuse(const std::string& askedFor, long result, const std::string& why);
    bool isRefusedRecently(const std::string& askedFor);
    repair::TrashFolderKind trashPlaceOf(const std::string& path) const;
    bool isInOwnTrash(const std::string& path) const;
    bool isSharedRoot(const std::string& path) const;

    const Platform& platform_;
    // One authorization dialog at a time, however many workers need the right at once.
    std::mutex authorizationMutex_;
    std::mutex refusedMutex_;
    std::map<std::string, TimePoint> refusedAt_;
    std::set<std::string> toldCauses_; // under refusedMutex_
    std::atomic<Authorization> lastAuthorization_{Authorization::Granted};
    // One repair at a time: each run of the helper serves one.
    std::mutex repairMutex_;
};

} // namespace bw
