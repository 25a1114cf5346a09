#include "platform/qt/DisplayChoice.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QStringList>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace bw::qt {

namespace {

std::vector<std::string> candidatesOf(const std::string& requested)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= requested.size()) {
        const size_t end = requested.find(';', start);
        const std::string name = requested.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!name.empty())
            names.push_back(name);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return names;
}

bool works(const std::string& candidate, const DisplaySession& session, const PluginPresent& pluginPresent)
{
    // "wayland:options", "wayland-egl": the part before the options names the plugin.
    const std::string name = candidate.substr(0, candidate.find(':'));
    if (name.rfind("wayland", 0) == 0)
        return session.waylandAnswers && pluginPresent(name);
    if (name == "xcb")
        return session.x11Answers && pluginPresent(name);
    return pluginPresent(name);
}

bool socketAnswers(const std::string& path)
{
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

} // namespace

std::string chooseDisplayPlatform(const DisplaySession& session, const PluginPresent& pluginPresent)
{
    std::vector<std::string> candidates = candidatesOf(session.requested);
    // What was asked for by name comes first; a session's own display follows, so that a
    // missing Wayland plugin falls back to XWayland rather than to nothing.
    for (const char* fallback : {"wayland", "xcb"})
        candidates.emplace_back(fallback);
    for (const auto& candidate : candidates) {
        if (candidate == "wayland" && !session.waylandAsked && session.requested.rfind("wayland", 0) != 0)
            continue;
        if (works(candidate, session, pluginPresent))
            return candidate;
    }
    return {};
}

DisplaySession currentDisplaySession(bool x11Answers)
{
    DisplaySession session;
    session.requested = qEnvironmentVariable("QT_QPA_PLATFORM").trimmed().toStdString();
    session.x11Answers = x11Answers;
    const QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    session.waylandAsked = !display.isEmpty();
    const QString name = display.isEmpty() ? QStringLiteral("wayland-0") : display;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(name))
        session.waylandAnswers = socketAnswers(QFile::encodeName(name).toStdString());
    else if (!runtime.isEmpty())
        session.waylandAnswers = socketAnswers(QFile::encodeName(runtime + QLatin1Char('/') + name).toStdString());
    return session;
}

bool platformPluginInstalled(const std::string& name)
{
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    const QString platformFolder = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    QStringList platformFolders;
    if (!platformFolder.isEmpty())
        platformFolders.append(platformFolder);
    for (const QString& folder : folders)
        platformFolders.append(folder + QStringLiteral("/platforms"));
    // "wayland" is served by libqwayland-generic.so or libqwayland-egl.so.
    const QString pattern = QStringLiteral("libq%1%2.so")
                                .arg(QString::fromStdString(name), name == "wayland" ? QStringLiteral("-*")
                                                                                      : QString());
    for (const QString& folder : platformFolders)
        if (!QDir(folder).entryList({pattern}, QDir::Files).isEmpty())
            return true;
    return false;
}

} // namespace bw::qt
