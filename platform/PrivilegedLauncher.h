#pragma once
#include <string>

namespace bw {

// The two repairs the privileged helper knows.
enum class RepairKind : char {
    Owner = 'o',       // make the user the owner (group admin, or the user's own group)
    Permissions = 'p', // give the owner read and write
};

// Starts the project's privileged helper once, with the administrator's consent, and hands
// it repair requests. The program never waits for a repair to finish.
class PrivilegedLauncher {
public:
    virtual ~PrivilegedLauncher() = default;
    // Whether the helper is running now, without asking anyone.
    virtual bool isAuthorized() = 0;
    // Starts the helper if it is not running, which shows the system's authorization
    // dialog; true when it runs afterwards.
    virtual bool authorize() = 0;
    // Hands one repair to the running helper: 0, or the errno of handing it over.
    virtual int requestRepair(RepairKind kind, const std::string& path) = 0;
    // Ends the helper and gives up the right.
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
