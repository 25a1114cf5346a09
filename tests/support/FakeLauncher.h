#pragma once
#include "platform/PrivilegedLauncher.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace bw::test {

// Stands for pkexec and the helper: the test decides whether the administrator says yes,
// and every repair handed over is recorded instead of run.
class FakePrivilegedLauncher final : public PrivilegedLauncher {
public:
    bool isAuthorized() override;
    bool authorize() override;
    int requestRepair(RepairKind kind, const std::string& path) override;
    void revoke() override;

    void setGrants(bool grants);
    // Handing a request over fails with this errno (0: it works).
    void setRequestError(int error);
    int dialogs() const;
    std::vector<std::pair<RepairKind, std::string>> requests() const;

private:
    mutable std::mutex mutex_;
    bool grants_ = true;
    int requestError_ = 0;
    bool running_ = false;
    int dialogs_ = 0;
    std::vector<std::pair<RepairKind, std::string>> requests_;
};

} // namespace bw::test
