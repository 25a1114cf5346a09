#include "platform/qt/QtDefaultsStore.h"
#include "settings/SettingsKeys.h"
#include "tests/support/TestPlatform.h"

#include <QFile>
#include <gtest/gtest.h>

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

TEST(QtDefaultsStore, TheFileLivesInTheXdgConfigFolder)
{
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(qt::QtDefaultsStore::defaultFilePath("/home/ann"),
              QStringLiteral("/somewhere/config/Brindlewick/Brindlewick.conf"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(qt::QtDefaultsStore::defaultFilePath("/home/ann"),
              QStringLiteral("/home/ann/.config/Brindlewick/Brindlewick.conf"));
}
