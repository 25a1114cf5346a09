#pragma once
#include "platform/DefaultsStore.h"

#include <QSettings>
#include <memory>
#include <mutex>

namespace bw {
class Log;
}

namespace bw::qt {

// The settings store over an INI file, with a volatile layer of registered defaults.
// Changes are kept in memory until synchronize() writes them, so nothing reaches the file
// at any other moment. Only a regular file of the user's own, writable by them, is ever
// read or written (through a link, its target); anything else under that name (a device,
// a FIFO, a read-only or foreign file) is left alone and the values stay in memory.
class QtDefaultsStore final : public DefaultsStore {
public:
    QtDefaultsStore(const QString& filePath, Log& log);

    // $XDG_CONFIG_HOME/Brindlewick/Brindlewick.conf, ~/.config when the variable is unset.
    static QString defaultFilePath(const QString& homeDirectory);

    void registerDefaults(const std::map<std::string, DefaultValue>& defaults) override;
    float floatForKey(const std::string& key) override;
    bool boolForKey(const std::string& key) override;
    std::optional<TimePoint> dateForKey(const std::string& key) override;
    std::optional<std::string> stringForKey(const std::string& key) override;
    void setFloat(const std::string& key, float value) override;
    void setBool(const std::string& key, bool value) override;
    void setDate(const std::string& key, TimePoint value) override;
    void setString(const std::string& key, const std::string& value) override;
    void synchronize() override;

private:
    std::optional<QString> storedText(const std::string& key);
    bool isWritableFile();
    template <typename T>
    T registered(const std::string& key, T fallback) const;

    std::mutex mutex_;
    QString filePath_; // a link's target, so that the link stays a link
    std::unique_ptr<QSettings> settings_; // none when the path is not a regular file
    Log& log_;
    bool refusalLogged_ = false;
    std::map<std::string, DefaultValue> registered_;
    std::map<std::string, QString> pending_;
};

} // namespace bw::qt
