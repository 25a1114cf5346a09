#include "platform/Strings.h"

#include "platform/Format.h"

namespace bw {

std::string Strings::localDate(TimePoint date, bool withTime)
{
    return localDateText(date, withTime ? "%Y-%m-%d %H:%M:%S" : "%Y-%m-%d");
}

std::string filledIn(const std::string& text, const std::vector<std::string>& values)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        size_t end = i + 1;
        size_t number = 0;
        // One or two digits after "%"; a "%" without a known number is text ("10 %").
        while (text[i] == '%' && end < text.size() && end - i <= 2 && text[end] >= '0' && text[end] <= '9')
            number = number * 10 + static_cast<size_t>(text[end++] - '0');
        if (number >= 1 && number <= values.size()) {
            out += values[number - 1];
            i = end - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string localizedWith(Strings& strings, const std::string& key, const std::vector<std::string>& values)
{
    return filledIn(strings.localized(key), values);
}

std::string countedText(Strings& strings, long count, const std::string& one, const std::string& many,
                        const std::vector<std::string>& others)
{
    std::vector<std::string> values = {strings.localFigure(std::to_string(count))};
    values.insert(values.end(), others.begin(), others.end());
    return localizedWith(strings, count == 1 ? one : many, values);
}

} // namespace bw
