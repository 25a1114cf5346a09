#pragma once
#include "platform/Strings.h"

#include <QString>
#include <QTranslator>
#include <string>

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
    std::string localFigure(const std::string& figure) override;
    std::string localDate(TimePoint date, bool withTime) override;

    static constexpr const char* kContext = "Brindlewick";

    // A text the program put together, in the user's language: its figures ("3", "4.3 MB")
    // stand as %1, %2... for the lookup and come back in the user's locale ("4,3 MB"); a line
    // "Label:value" has its label translated apart. A text without a translation keeps its
    // words, with its figures in the locale.
    static QString shown(const std::string& text);
    // One line of it.
    static QString shownLine(const QString& line);
    // A figure in the user's locale: "4.3" reads "4,3" in German.
    static QString localFigure(const QString& figure);
    // Every decimal figure of a text in the user's locale; the rest as it is.
    static QString localFigures(const QString& text);

private:
    QCoreApplication& app_;
    QTranslator english_;
    QTranslator local_;
};

} // namespace bw::qt
