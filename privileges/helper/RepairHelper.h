#pragma once
// The privileged side of the permission repair: who the user is, which paths count as a
// trash, and the two repairs, made through descriptors without following any link.
#include "platform/PrivilegedLauncher.h"
#include "privileges/helper/UserTrash.h"

#include <cstdio>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace bw::repair {

struct User {
    TrashOwner trash;
    gid_t group = 0; // "admin" where that group exists, else the user's primary group
};

// The user who asked, from PKEXEC_UID (set by pkexec); none when it is missing or unknown.
std::optional<User> userFromEnvironment();

struct Request {
    RepairKind kind = RepairKind::Owner;
    std::string path;
};

enum class ReadResult { Request, End, Malformed };

// Reads one request as encodeRepairRequest writes it.
ReadResult readRequest(std::FILE* in, Request& request);

class Repairer {
public:
    explicit Repairer(User user);
    // Makes the repair; 0, or the errno that refused or ended it. Refusals are logged on
    // standard error. The trash folders are found afresh for each request, so a volume
    // mounted since the start counts.
    int repair(const Request& request);

private:
    int openParentInsideTrash(const std::string& path, std::string& name, TrashFolderKind& place);
    int repairEntry(RepairKind kind, int parentFd, const char* name, const struct stat& seen);
    int widenSharedRoot(int parentFd, const char* name);

    User user_;
};

} // namespace bw::repair
