#pragma once
#include <string>

namespace bw {

// The string table: the translated text of a key, the key itself when it has none.
class Strings {
public:
    virtual ~Strings() = default;
    virtual std::string localized(const std::string& key) = 0;
};

class UntranslatedStrings final : public Strings {
public:
    std::string localized(const std::string& key) override { return key; }
};

} // namespace bw
