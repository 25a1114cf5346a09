#include "platform/qt/QtDefaultsStore.h"
#include "settings/SettingsKeys.h"
#include "tests/support/TestPlatform.h"

#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace bw;
using namespace bw::test;

namespace {

void registerAll(DefaultsStore& store)
{
    store.registerDefaults({{keys::MinimumFreeSpaceRatio.name, 0.1f},
                            {keys::MonitorIntervalTime.name, 300.0f},
                            {keys::InnerShredderSwitch.name, true},
                            {keys::NoRenameFileSwitch.name, false}});
}

QString fileText(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

void writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

} // namespace

TEST(QtDefaultsStore, ValuesReachTheFileOnlyWhenFlushedAndReadBackAfterARestart)
{
    TempDir dir;
    CapturingLog log;
    const QString path = QString::fromStdString(dir / "Brindlewick.conf");
    const TimePoint when = std::chrono::system_clock::from_time_t(1173085620) + std::chrono::milliseconds(250);
    {
        qt::QtDefaultsStore store(path, log);
        registerAll(store);
        store.setFloat(keys::MinimumFreeSpaceRatio.name, 0.105f);
        store.setBool(keys::NoRenameFileSwitch.name, true);
        store.setDate(keys::LastAutoExecuteDate, when);
        EXPECT_EQ(store.floatForKey(keys::MinimumFreeSpaceRatio.name), 0.105f); // seen at once
        EXPECT_FALSE(fileText(path).contains("MinimumFreeSpaceRatio"));         // not yet written
        store.synchronize();
        EXPECT_TRUE(fileText(path).contains("2007-03-05T09:07:00.250Z")); // ISO 8601, UTC
    }
    qt::QtDefaultsStore again(path, log);
    registerAll(again);
    EXPECT_EQ(again.floatForKey(keys::MinimumFreeSpaceRatio.name), 0.105f);
    EXPECT_EQ(again.floatForKey(keys::MonitorIntervalTime.name), 300.0f);
    EXPECT_TRUE(again.boolForKey(keys::NoRenameFileSwitch.name));
    EXPECT_TRUE(again.boolForKey(keys::InnerShredderSwitch.name));
    EXPECT_EQ(again.dateForKey(keys::LastAutoExecuteDate), when);
    EXPECT_TRUE(log.lines().empty());
}

TEST(QtDefaultsStore, GarbageReadsAsTheDefaults)
{
    TempDir dir;
    CapturingLog log;
    const QString path = QString::fromStdString(dir / "Brindlewick.conf");
    static const char garbage[] = "MinimumFreeSpaceRatio=lots\nMonitorIntervalTime=nan\n"
                                  "InnerShredderSwitch=perhaps\nLastAutoExecuteDate=yesterday\n"
                                  "\x00\xff\xfe[[[garbage\n=\n\\\n";
    writeText(path, QByteArray(garbage, sizeof garbage - 1));
    qt::QtDefaultsStore store(path, log);
    registerAll(store);
    EXPECT_EQ(store.floatForKey(keys::MinimumFreeSpaceRatio.name), 0.1f);
    EXPECT_EQ(store.floatForKey(keys::MonitorIntervalTime.name), 300.0f);
    EXPECT_TRUE(store.boolForKey(keys::InnerShredderSwitch.name));
    EXPECT_FALSE(store.dateForKey(keys::LastAutoExecuteDate));
    EXPECT_EQ(log.count("Stored LastAutoExecuteDate \"yesterday\" is not a date; it is ignored"), 1);

    // A file of nothing but noise.
    QByteArray noise(8192, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    writeText(path, noise);
    qt::QtDefaultsStore noisy(path, log);
    registerAll(noisy);
    EXPECT_EQ(noisy.floatForKey(keys::MinimumFreeSpaceRatio.name), 0.1f);
    EXPECT_EQ(noisy.floatForKey(keys::MonitorIntervalTime.name), 300.0f);
    EXPECT_FALSE(noisy.boolForKey(keys::NoRenameFileSwitch.name));
}

TEST(QtDefaultsStore, ANumberNoFloatHoldsReadsAsTheDefaultInOneLineNamingTheKey)
{
    TempDir dir;
    CapturingLog log;
    const QString path = QString::fromStdString(dir / "Brindlewick.conf");
    writeText(path, "[General]\nMinimumFreeSpaceRatio=1e308\nMonitorIntervalTime=nan\n");
    qt::QtDefaultsStore store(path, log);
    registerAll(store);
    EXPECT_EQ(store.floatForKey(keys::MinimumFreeSpaceRatio.name), 0.1f);
    EXPECT_EQ(store.floatForKey(keys::MonitorIntervalTime.name), 300.0f);
    EXPECT_EQ(log.lines().size(), 2u);
    EXPECT_TRUE(log.contains("MinimumFreeSpaceRatio"));
    EXPECT_TRUE(log.contains("MonitorIntervalTime"));
    const QString other = QString::fromStdString(dir / "other.conf");
    writeText(other, "[General]\nMinimumFreeSpaceRatio=-inf\nMonitorIntervalTime=30\n");
    qt::QtDefaultsStore again(other, log);
    registerAll(again);
    EXPECT_EQ(again.floatForKey(keys::MinimumFreeSpaceRatio.name), 0.1f);
    EXPECT_EQ(again.floatForKey(keys::MonitorIntervalTime.name), 30.0f);
    EXPECT_EQ(log.lines().size(), 3u);
}

TEST(QtDefaultsStore, TheFileLivesInTheXdgConfigFolder)
{
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(qt::QtDefaultsStore::defaultFilePath("/home/ann"),
              QStringLiteral("/somewhere/config/Brindlewick/Brindlewick.conf"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(qt::QtDefaultsStore::defaultFilePath("/home/ann"),
              QStringLiteral("/home/ann/.config/Brindlewick/Brindlewick.conf"));
}

TEST(QtDefaultsStore, OnlyARegularFileOfTheUsersOwnIsWrittenAndOnlyARegularFileRead)
{
    TempDir dir;
    // A link to a writable file of the user's: the target is written, the link stays.
    const QString target = QString::fromStdString(dir / "target.conf");
    writeText(target, "[General]\nMonitorIntervalTime=30\n");
    const QString linked = QString::fromStdString(dir / "linked.conf");
    ASSERT_EQ(symlink(target.toLocal8Bit().constData(), linked.toLocal8Bit().constData()), 0);
    {
        CapturingLog log;
        qt::QtDefaultsStore store(linked, log);
        registerAll(store);
        EXPECT_EQ(store.floatForKey(keys::MonitorIntervalTime.name), 30.0f);
        store.setFloat(keys::MonitorIntervalTime.name, 60.0f);
        store.synchronize();
        EXPECT_TRUE(log.lines().empty());
    }
    EXPECT_TRUE(QFileInfo(linked).isSymLink());
    EXPECT_TRUE(fileText(target).contains(QStringLiteral("MonitorIntervalTime=60")));

    // A read-only file and a device behind a link are left alone, with one line each.
    const QString readOnly = QString::fromStdString(dir / "read-only.conf");
    writeText(readOnly, "[General]\nMonitorIntervalTime=30\n");
    chmod(readOnly.toLocal8Bit().constData(), 0444);
    const std::string device = dir / "null";
    const bool haveDevice = mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    for (const QString& behind : {readOnly, QString::fromStdString(device)}) {
        if (behind.endsWith(QStringLiteral("null")) && !haveDevice)
            continue;
        const QString link = behind + QStringLiteral(".link");
        ASSERT_EQ(symlink(behind.toLocal8Bit().constData(), link.toLocal8Bit().constData()), 0);
        CapturingLog log;
        qt::QtDefaultsStore store(link, log);
        registerAll(store);
        store.setFloat(keys::MonitorIntervalTime.name, 60.0f);
        store.synchronize();
        store.synchronize();
        EXPECT_EQ(store.floatForKey(keys::MonitorIntervalTime.name), 60.0f); // kept for this run
        EXPECT_EQ(log.lines().size(), 1u) << behind.toStdString();
        EXPECT_TRUE(QFileInfo(link).isSymLink());
    }
    EXPECT_TRUE(fileText(readOnly).contains(QStringLiteral("MonitorIntervalTime=30")));
    struct stat st {};
    if (haveDevice) {
        ASSERT_EQ(lstat(device.c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }

    // A FIFO is never opened: reading it would wait for a writer forever. The store is made
    // in a child, so that a hang ends as a failure rather than holding the test.
    const std::string fifo = dir / "fifo.conf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const pid_t child = fork();
    if (child == 0) {
        CapturingLog log;
        qt::QtDefaultsStore store(QString::fromStdString(fifo), log);
        registerAll(store);
        const bool ok = store.floatForKey(keys::MonitorIntervalTime.name) == 300.0f && log.lines().size() == 1u;
        store.synchronize();
        _exit(ok && log.lines().size() == 1u ? 0 : 1);
    }
    int status = -1;
    for (int i = 0; i < 500 && waitpid(child, &status, WNOHANG) == 0; ++i)
        usleep(10000);
    if (waitpid(child, &status, WNOHANG) == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "reading a FIFO as the settings file hung";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
