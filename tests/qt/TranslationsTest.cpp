#include "accounting/TrashSnapshot.h"
#include "deletion/PassMessage.h"
#include "history/HistoryPanel.h"
#include "platform/Format.h"
#include "platform/qt/ProgramTexts.h"
#include "platform/qt/QtAlertPresenter.h"
#include "platform/qt/QtHistoryPanel.h"
#include "platform/qt/QtStrings.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/FakePanels.h"
#include "tests/support/TestPlatform.h"

#include <QLabel>
#include <QLocale>
#include <QTableView>
#include <QTranslator>
#include <ctime>
#include <gtest/gtest.h>

namespace bw::test {
namespace {

TEST(TranslationsTest, EveryProgramTextIsTranslatedAndFiguresFollowTheLocale)
{
    qtApp();
    for (const char* language : {"de", "fr", "es"}) {
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral(":/i18n/brindlewick_%1.qm").arg(QLatin1String(language))))
            << language;
        for (const char* text : qt::kProgramTexts)
            EXPECT_FALSE(translator.translate(qt::QtStrings::kContext, text).isEmpty()) << language << ": " << text;
        // The panels' own texts come with them.
        EXPECT_FALSE(translator.translate("PrefsPanel", "Keep at least this much free:").isEmpty()) << language;
        EXPECT_FALSE(translator.translate("InfoPanel", "In the trash:").isEmpty()) << language;
        // Keys the volumes and the permission repair look up, not only the menu's.
        for (const char* key : {"NotAnswering", "RemovedWithoutOverwriting", "The permission repair failed:"})
            EXPECT_FALSE(translator.translate(qt::QtStrings::kContext, key).isEmpty()) << language << ": " << key;
    }

    // A question put together by the program, in German: its words translated, the count
    // and the size in German figures, each bound to its unit.
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(":/i18n/brindlewick_de.qm")));
    QCoreApplication::installTranslator(&german);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(QtAlertPresenter::readableText("Shred 3 trash items?"), QString::fromUtf8("3\u00a0Papierkorbobjekte vernichten?"));
    EXPECT_EQ(QtAlertPresenter::readableText("4.3\u00a0MB will be overwritten and removed. This cannot be undone."),
              QString::fromUtf8("4,3\u00a0MB werden überschrieben und entfernt. Das lässt sich nicht rückgängig machen."));
    // A file name stays exactly as it is; only the label is translated.
    EXPECT_EQ(QtAlertPresenter::readableText("File:/tmp/report 2.5 final"), QString::fromUtf8("Datei: /tmp/report 2.5 final"));
    // The panel's and the menu's figures: the German decimal comma, no thousands separator
    // that would push a column out of line.
    EXPECT_EQ(qt::QtStrings::localFigures("1234.50 GB ( 2.25%)"), "1234,50 GB ( 2,25%)");

    // The history window: its column titles and its count in the user's language.
    {
        qt::QtHistoryPanel history;
        EXPECT_EQ(history.findChild<QTableView*>()->model()->headerData(0, Qt::Horizontal).toString(), "Gelöscht");
        EXPECT_EQ(history.findChild<QTableView*>()->model()->headerData(7, Qt::Horizontal).toString(),
                  "Pfad im Papierkorb");
    }
    // A rule's problem, with its figures in German.
    EXPECT_EQ(qt::QtStrings::shown("The minimum free space must be a number from 0 to 99.5 %."),
              "Der mindestens freie Platz muss eine Zahl von 0 bis 99,5 % sein.");
    QLocale::setDefault(QLocale::c());
    QCoreApplication::removeTranslator(&german);
}

// The character at which `word` starts in `line`, counting a UTF-8 sequence as one.
size_t columnOf(const std::string& line, const std::string& word)
{
    return characterCount(line.substr(0, line.find(word)));
}

// What the core puts together from figures and names, rather than showing a fixed text: the
// pass's notification, the status table, the history's rows and count.
TEST(TranslationsTest, TextsPutTogetherFromFiguresAndNamesAreInTheUsersLanguage)
{
    qtApp();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    qt::QtStrings german(*QCoreApplication::instance());

    // The notification: words, counts and sizes in German; the trashes' names as they are.
    PassFacts pass{{3, 4.3 * 1024 * 1024, 1}, true, false, {"Home", "USB %2"}, {}};
    PassMessage told = passMessage(german, pass, notifiedSize(german, pass.totals.bytes));
    EXPECT_EQ(told.summary, "Papierkorb geleert");
    EXPECT_EQ(told.text, "3 Objekte gelöscht (4,3\u00a0MB) aus den Papierkörben auf Home, USB %2; "
                         "1 Objekt konnte nicht gelöscht werden");
    pass = {{0, 0.0, 2}, false, false, {}, {"/home/a/Tom & Jerry", "/home/a/b"}};
    told = passMessage(german, pass, notifiedSize(german, 0.0));
    EXPECT_EQ(told.summary, "2 Objekte konnten nicht gelöscht werden");
    EXPECT_EQ(told.text, "Tom & Jerry und 1 weiteres");
    // The log's line of the same pass stays English.
    UntranslatedStrings english;
    EXPECT_EQ(passMessage(english, pass, "0 bytes").summary, "Could not delete 2 items");

    // The status table: German headings, some wider than their figures and with letters of two
    // bytes, and every column still where the heading puts it.
    TrashSnapshot all;
    all.trashes.resize(1);
    all.trashes[0].name = "Home";
    all.trashes[0].mountPoint = "/";
    all.trashes[0].items = 12;
    all.trashes[0].bytes = 1536.0;
    const std::string table = snapshotTable(all, german);
    const std::string heading = table.substr(0, table.find('\n'));
    const std::string row = table.substr(heading.size() + 1, table.find('\n', heading.size() + 1) - heading.size() - 1);
    EXPECT_EQ(columnOf(heading, "GRÖSSE") + characterCount("GRÖSSE"), columnOf(row, "1,5 KB") + characterCount("1,5 KB"))
        << table;
    EXPECT_EQ(columnOf(heading, "ZUSTAND"), columnOf(row, "bereit")) << table;
    EXPECT_NE(table.find("Kein Löschdurchgang läuft."), std::string::npos) << table;

    // A history row in German, and the filter finds the German word it shows.
    HistoryRow failed;
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 7;
    local.tm_hour = 18;
    local.tm_min = 23;
    local.tm_isdst = -1;
    failed.when = std::chrono::system_clock::from_time_t(std::mktime(&local));
    failed.reason = "age";
    failed.deleted = false;
    failed.failure = "Operation not permitted";
    const HistoryLine line = historyLineOf(failed, german);
    EXPECT_EQ(line.reason, "Alter");
    EXPECT_EQ(line.result, "fehlgeschlagen: Operation not permitted");
    EXPECT_EQ(line.trashedOn, "unbekannt");
    EXPECT_EQ(line.when, "07.12.26 18:23"); // as the menu and the chooser write a date
    EXPECT_TRUE(historyLineMatches(line, "Fehlgeschlagen alter"));
    // The History window's count, put together by its controller.
    {
        TestPlatform tp;
        tp.platform.strings = &german;
        FakeHistoryPanel view;
        HistoryPanel panel(tp.platform, &view, tp.home.path() + "/no-history.sqlite3");
        panel.showHistory();
        tp.workers.waitForAll();
        tp.mainLoop.runPosted();
        EXPECT_EQ(view.status, "Noch keine Löschungen aufgezeichnet.");
    }
    QLocale::setDefault(QLocale::c());
}

} // namespace
} // namespace bw::test
