#include "deletion/Shredder.h"

// Placeholder until the file shredder is built.
namespace bw {

int Shredder::shredFolderOrFile(const std::string&, std::atomic<double>*) { return kShredRemoveFailed; }
int Shredder::shredFile(const std::string&, std::atomic<double>*) { return kShredRemoveFailed; }
void Shredder::initFillData()
{
    fillChar_.fill(0xFF);
    fillData_ = fillChar_;
}
void Shredder::alertWithError(int, const std::string&) {}

} // namespace bw
