#include "accounting/External.h"

#include "app/Controllers.h"

// Placeholder until the volume trashes are built: no volume is watched.
namespace bw {

External::External(const Platform& platform) : platform_(platform) {}
void External::wire(Controllers& c)
{
    outPrefs_ = &c.preferences;
    outUtility_ = &c.utility;
    outSecurity_ = &c.security;
}
void External::awakeFromNib() {}
std::vector<std::string> External::volumePaths() const { return {}; }
int External::drives() const { return 0; }
bool External::isExist() const { return false; }
std::vector<std::string> External::volumeNames() const { return {}; }
int External::driveNumberAtPath(const std::string&) const { return -1; }
bool External::isContainPath(const std::string&) const { return false; }
std::string External::volumePathWithDrive(int) const { return {}; }
std::vector<std::string> External::trashPaths() const { return {}; }
std::string External::trashPathWithDrive(int) const { return {}; }
std::vector<std::string> External::directoryContentsAtPath(const std::string&) const { return {}; }
int8_t External::checkDriveChanged() { return 0; }
std::optional<std::string> External::installedVolumePath() const { return std::nullopt; }
std::optional<std::string> External::removedVolumePath() const { return std::nullopt; }
void External::initTrashFiles() {}
void External::initTrashFilesAtPath(const std::string&) {}
void External::removeTrashSizeAtPath(const std::optional<std::string>&) {}
void External::initTrashDataThreadAtPath(const std::string&) {}
void External::installTrashSizeThreadAtPath(const std::optional<std::string>&) {}
void External::initTrashDataAtPath(const std::string&) {}
void External::initTrashSizeThreadAtPath(const std::string&) {}
void External::initTrashSizeAtPath(const std::string&) {}
void External::renewTrashSizeThreadAtPath(const std::string&) {}
void External::renewTrashSizeAtPath(const std::string&) {}
std::vector<std::string> External::rootArrayWithPath(const std::string&) const { return {}; }
int External::trashFileCountWithPath(const std::string&) const { return 0; }
double External::totalSizeWithPath(const std::string&) const { return 0; }
double External::freeSizeWithPath(const std::string&) const { return 0; }
double External::usedSizeWithPath(const std::string&) const { return 0; }
double External::miniSizeWithPath(const std::string&) const { return 0; }
double External::trashSizeWithPath(const std::string&) const { return 0; }
void External::setTrashSize(double, const std::string&) {}
std::atomic<double>* External::trashSizePtrAtPath(const std::string&) { return nullptr; }
double External::allTrashSize() const { return 0; }
int External::trashStatusWithDrive(int) const { return 0; }
void External::setTrashStatus(int, const std::string&) {}
void External::renewTrashStatusAll() {}
bool External::trashSizeingAtPath(const std::string&) const { return false; }
bool External::trashSizeingWithDrive(int) const { return false; }
bool External::trashSizeing() const { return false; }
void External::setTrashSizeing(bool, const std::string&) {}
void External::renewTrashSizeing() {}
bool External::checkTrashCountChangeAtPath(const std::string&) { return false; }
bool External::checkFreeSizeChangeAtPath(const std::string&) { return false; }
bool External::checkAllTrashCountChange() { return false; }
bool External::checkAllFreeSizeChange() { return false; }
int External::lastTrashCountAtPath(const std::string&) const { return 0; }
void External::setLastTrashCount(int, const std::string&) {}
double External::lastFreeSizeAtPath(const std::string&) const { return 0; }
void External::setLastFreeSize(double, const std::string&) {}
bool External::shredModeAtPath(const std::string&) const { return false; }
void External::setShredMode(bool, const std::string&) {}
void External::setAllShredMode(bool) {}

} // namespace bw
