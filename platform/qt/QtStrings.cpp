#include "platform/qt/QtStrings.h"

#include <QCoreApplication>
#include <QLocale>

namespace bw::qt {

QtStrings::QtStrings(QCoreApplication& app) : app_(app)
{
    if (english_.load(QStringLiteral(":/i18n/brindlewick_en.qm")))
        app_.installTranslator(&english_);
    // Installed last, so it is asked first.
    if (local_.load(QLocale(), QStringLiteral("brindlewick"), QStringLiteral("_"), QStringLiteral(":/i18n")) &&
        local_.filePath() != english_.filePath())
        app_.installTranslator(&local_);
}

QtStrings::~QtStrings()
{
    app_.removeTranslator(&local_);
    app_.removeTranslator(&english_);
}

std::string QtStrings::localized(const std::string& key)
{
    // Safe from any thread: QCoreApplication::translate takes its own lock.
    return QCoreApplication::translate(kContext, key.c_str()).toStdString();
}

} // namespace bw::qt
