#pragma once
#include <cstdint>
#include <string>

namespace bw {

// What the privileged helper is asked to do with a path inside the user's own trash.
enum class RepairKind : char {
    Remove = 'r',                 // remove what the user cannot remove, overwriting files of one link first
    RemoveWithoutOverwrite = 'u', // the same, for a shredder that does not overwrite
    OpenSharedRoot = 's',         // make a volume's ".Trashes" itself writable and searchable for all
};

// Why the helper does not run.
enum class Authorization {
    Granted,
    Dismissed,     // the dialog was closed without an answer
    NotAuthorized, // the password was refused, or the user may not do this
    NoAgent,       // no authentication agent runs to ask anyone
    Failed,        // pkexec or the helper could not be started
};

// What one run of the helper did: its error (0, or the errno that refused or ended it) and
// what it removed, for the program to count like its own deletions.
struct RepairReport {
    int error = 0;
    std::uint64_t entries = 0;
    double bytes = 0; // the lstat sizes of the entries removed
};

// Starts the project's privileged helper, with the administrator's consent, for one repair:
// the helper takes one request, answers with its report and ends.
class PrivilegedLauncher {
public:
    virtual ~PrivilegedLauncher() = default;
    // Whether a helper is started and waits for its request, without asking anyone.
    virtual bool isAuthorized() = 0;
    // Starts the helper if none waits, which shows the system's authorization dialog.
    virtual Authorization authorize() = 0;
    // Hands the waiting helper its one request and waits for its report: 0, or the errno of
    // handing it over or of reading the report (the helper has then ended either way).
    virtual int requestRepair(RepairKind kind, const std::string& path, RepairReport& report) = 0;
    // Ends a waiting helper without a request.
    virtual void revoke() = 0;
};

// One request as the helper reads it: the kind, the path's length in decimal, a space, the
// path's bytes as they are (a path may hold line feeds or invalid UTF-8), and a line feed.
inline std::string encodeRepairRequest(RepairKind kind, const std::string& path)
{
    std::string request(1, static_cast<char>(kind));
    request.append(std::to_string(path.size())).append(1, ' ').append(path).append(1, '\n');
    return request;
}

} // namespace bw
