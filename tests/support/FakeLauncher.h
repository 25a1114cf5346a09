#pragma once
#include "platform/PrivilegedLauncher.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace bw::test {

// Stands for pkexec and the helper: the test decides whether the administrator says yes
// (and, if not, why not), and every repair handed over is recorded instead of run. Like the
// real helper, each start serves one repair.
class FakePrivilegedLauncher final : public PrivilegedLauncher {
public:
    bool isAuthorized() override;
    Authorization authorize() override;
    int requestRepair(RepairKind kind, const std::string& path, RepairReport& report) override;
    void revoke() override;

    void setGrants(bool grants);
    void setAnswer(Authorization answer);
    // What each repair reports (its error and what it removed).
    void setReport(const RepairReport& report);
    // Handing a request over fails with this errno (0: it works).
    void setRequestError(int error);
    int dialogs() const;
    std::vector<std::pair<RepairKind, std::string>> requests() const;

private:
    mutable std::mutex mutex_;
    Authorization answer_ = Authorization::Granted;
    RepairReport report_;
    int requestError_ = 0;
    bool running_ = false;
    int dialogs_ = 0;
    std::vector<std::pair<RepairKind, std::string>> requests_;
};

} // namespace bw::test
