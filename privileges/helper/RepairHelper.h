#pragma once
// The privileged side of the permission repair: who asked, which folders are that user's
// trash folders (found by descriptor from the volume's root or the home folder down, never
// through a link), and the removal of what the user cannot remove there. Nothing is ever
// handed to the user: no owner and no mode changes for anyone but the shared ".Trashes"
// root, which is only opened to every user.
#include "platform/PrivilegedLauncher.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace bw::repair {

struct User {
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups; // every group of the account, the primary one included
    std::string name;
    std::string homeDirectory; // resolved
};

// The user who asked, from PKEXEC_UID (set by pkexec); none when it is missing or unknown.
std::optional<User> userFromEnvironment();

struct Request {
    RepairKind kind = RepairKind::Remove;
    std::string path;
};

enum class ReadResult { Request, End, Malformed };

// Reads one request as encodeRepairRequest writes it.
ReadResult readRequest(std::FILE* in, Request& request);

class Repairer {
public:
    // `note` hears each refusal or failure as one line of text (control characters escaped).
    Repairer(User user, std::function<void(const std::string&)> note);

    // Serves one request; its report has the errno that refused or ended it (0 when none)
    // and what was removed.
    RepairReport repair(const Request& request);

private:
    struct Descent;
    std::optional<Descent> descentTo(const std::string& path, bool sharedRoot) const;
    const char* refusalOf(const std::string& name, int rule, const struct stat& st, dev_t trashDevice) const;
    // The folder that holds the requested entry, open, or -1 (refused).
    int openDescent(const Descent& descent, const std::string& path);
    void removeUndeletable(int folderFd, const std::string& folder, const std::string& name, bool overwrite,
                           RepairReport& report);
    int removeEntry(int parentFd, const char* name, const struct stat& seen, bool overwrite);
    int openSharedRoot(int volumeFd, const std::string& path);
    // Whether the user may list, enter and write the folder, and so remove an entry from it.
    bool mayEmpty(const struct stat& folder) const;
    bool mayDelete(const struct stat& entry, const struct stat& folder) const;
    void refuse(const std::string& path, const char* why);

    User user_;
    std::function<void(const std::string&)> note_;
};

} // namespace bw::repair
