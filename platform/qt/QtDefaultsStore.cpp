#include "platform/qt/QtDefaultsStore.h"

#include "platform/Format.h"
#include "platform/Log.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::qt {

namespace {

QString key(const std::string& k)
{
    return QString::fromStdString(k);
}

// The file a settings path stands for: the target of a link, the path itself otherwise.
QString targetOf(const QString& path)
{
    char resolved[PATH_MAX];
    const QByteArray local = path.toLocal8Bit();
    struct stat st {};
    if (lstat(local.constData(), &st) == 0 && S_ISLNK(st.st_mode) && realpath(local.constData(), resolved))
        return QString::fromLocal8Bit(resolved);
    return path;
}

// Opening a FIFO for reading would wait for a writer forever, a device is no settings
// file: only a regular file (or none yet) is read.
bool isReadable(const QString& path)
{
    struct stat st {};
    return stat(path.toLocal8Bit().constData(), &st) != 0 ? errno == ENOENT : S_ISREG(st.st_mode);
}

} // namespace

QtDefaultsStore::QtDefaultsStore(const QString& filePath, Log& log) : filePath_(targetOf(filePath)), log_(log)
{
    if (!isReadable(filePath_)) {
        log_.line(strprintf("Settings file %s is not a regular file; it is not read, the defaults apply",
                            filePath.toLocal8Bit().constData()));
        refusalLogged_ = true;
        return;
    }
    settings_ = std::make_unique<QSettings>(filePath_, QSettings::IniFormat);
    if (settings_->status() == QSettings::FormatError)
        log_.line(strprintf("Settings file %s could not be read; the defaults apply",
                            filePath.toLocal8Bit().constData()));
}

bool QtDefaultsStore::isWritableFile()
{
    // The file is replaced whole by a new one: that may only happen to a file of the user's
    // own that they may write, never to a device, a FIFO or someone else's file.
    struct stat st {};
    const QByteArray local = filePath_.toLocal8Bit();
    if (!settings_)
        return false;
    if (lstat(local.constData(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & S_IWUSR);
}

QString QtDefaultsStore::defaultFilePath(const QString& homeDirectory)
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = homeDirectory + QStringLiteral("/.config");
    return config + QStringLiteral("/Brindlewick/Brindlewick.conf");
}

void QtDefaultsStore::registerDefaults(const std::map<std::string, DefaultValue>& defaults)
{
    std::lock_guard lock(mutex_);
    for (const auto& [k, v] : defaults)
        registered_[k] = v;
}

template <typename T>
T QtDefaultsStore::registered(const std::string& k, T fallback) const
{
    if (auto it = registered_.find(k); it != registered_.end() && std::holds_alternative<T>(it->second))
        return std::get<T>(it->second);
    return fallback;
}

std::optional<QString> QtDefaultsStore::storedText(const std::string& k)
{
    if (auto it = pending_.find(k); it != pending_.end())
        return it->second;
    if (!settings_)
        return std::nullopt;
    const QVariant value = settings_->value(key(k));
    if (!value.isValid() || !value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

float QtDefaultsStore::floatForKey(const std::string& k)
{
    std::lock_guard lock(mutex_);
    const float fallback = registered<float>(k, 0.0f);
    const auto text = storedText(k);
    if (!text)
        return fallback;
    // Read wide, so that a number too large for a float ("1e308") is told as one.
    bool ok = false;
    const double value = QLocale::c().toDouble(text->trimmed(), &ok);
    if (ok && std::isfinite(value) && std::abs(value) <= std::numeric_limits<float>::max())
        return static_cast<float>(value);
    log_.line(strprintf("Stored %s \"%s\" is not a number in range; %g applies", k.c_str(),
                        text->toUtf8().constData(), static_cast<double>(fallback)));
    return fallback;
}

bool QtDefaultsStore::boolForKey(const std::string& k)
{
    std::lock_guard lock(mutex_);
    const bool fallback = registered<bool>(k, false);
    const auto text = storedText(k);
    if (!text)
        return fallback;
    const QString t = text->trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("0"))
        return false;
    return fallback;
}

std::optional<TimePoint> QtDefaultsStore::dateForKey(const std::string& k)
{
    std::lock_guard lock(mutex_);
    const auto text = storedText(k);
    if (!text)
        return std::nullopt;
    const QDateTime date = QDateTime::fromString(text->trimmed(), Qt::ISODateWithMs);
    if (!date.isValid()) {
        log_.line(strprintf("Stored %s \"%s\" is not a date; it is ignored", k.c_str(),
                            text->toUtf8().constData()));
        return std::nullopt;
    }
    return TimePoint(std::chrono::milliseconds(date.toMSecsSinceEpoch()));
}

std::optional<std::string> QtDefaultsStore::stringForKey(const std::string& k)
{
    std::lock_guard lock(mutex_);
    const auto text = storedText(k);
    if (!text)
        return std::nullopt;
    return text->toStdString();
}

void QtDefaultsStore::setFloat(const std::string& k, float value)
{
    std::lock_guard lock(mutex_);
    // Enough digits that the same float reads back.
    pending_[k] = QLocale::c().toString(value, 'g', 9);
}

void QtDefaultsStore::setBool(const std::string& k, bool value)
{
    std::lock_guard lock(mutex_);
    pending_[k] = value ? QStringLiteral("true") : QStringLiteral("false");
}

void QtDefaultsStore::setDate(const std::string& k, TimePoint value)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(value.time_since_epoch()).count();
    std::lock_guard lock(mutex_);
    pending_[k] = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

void QtDefaultsStore::setString(const std::string& k, const std::string& value)
{
    std::lock_guard lock(mutex_);
    pending_[k] = QString::fromStdString(value);
}

void QtDefaultsStore::synchronize()
{
    std::lock_guard lock(mutex_);
    if (!isWritableFile()) {
        // The values stay in memory for this run.
        if (!refusalLogged_)
            log_.line(strprintf("Settings file %s is not a writable regular file of this user; it is left alone "
                                "and settings are not saved",
                                filePath_.toLocal8Bit().constData()));
        refusalLogged_ = true;
        return;
    }
    for (const auto& [k, v] : pending_)
        settings_->setValue(key(k), v);
    pending_.clear();
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        log_.line(strprintf("Settings could not be written to %s",
                            settings_->fileName().toLocal8Bit().constData()));
}

} // namespace bw::qt
