#pragma once
#include "platform/Strings.h"

#include <QTranslator>

class QCoreApplication;

namespace bw::qt {

// The string table over Qt translations. The English texts always stand behind the
// language of the user, so a key shows as itself only when no translation has it.
class QtStrings final : public Strings {
public:
    // Installs the translations into the application; it must outlive this object.
    explicit QtStrings(QCoreApplication& app);
    ~QtStrings() override;
    std::string localized(const std::string& key) override;

    static constexpr const char* kContext = "Brindlewick";

private:
    QCoreApplication& app_;
    QTranslator english_;
    QTranslator local_;
};

} // namespace bw::qt
