#pragma once
#include "platform/Clock.h"

#include <string>
#include <vector>

namespace bw {

// The string table: the translated text of a key, the key itself when it has none.
class Strings {
public:
    virtual ~Strings() = default;
    virtual std::string localized(const std::string& key) = 0;
    // A figure the program wrote ("4.3 MB", "12") as the user's locale writes it ("4,3 MB").
    virtual std::string localFigure(const std::string& figure) { return figure; }
    // A moment in local time as the user's locale writes it, with its time of day or without;
    // without a locale, ISO 8601 ("2026-12-07 18:23:03", "2026-12-07").
    virtual std::string localDate(TimePoint date, bool withTime);
};

class UntranslatedStrings final : public Strings {
public:
    std::string localized(const std::string& key) override { return key; }
};

// `text` with each %1, %2... replaced by its value, in one pass: a "%2" inside a value (a
// file's name may hold one) stays as it is.
std::string filledIn(const std::string& text, const std::vector<std::string>& values);

// The translated text of `key`, whose figures stand as %1, %2..., with them filled in.
std::string localizedWith(Strings& strings, const std::string& key, const std::vector<std::string>& values);

// A count in words: `one` when it is 1, else `many`; the count, in the user's locale, fills
// their %1 ("1 item", "%1 items"), and `others` their %2, %3...
std::string countedText(Strings& strings, long count, const std::string& one, const std::string& many,
                        const std::vector<std::string>& others = {});

} // namespace bw
