#include "platform/qt/ProgramTexts.h"
#include "platform/qt/QtAlertPresenter.h"
#include "platform/qt/QtHistoryPanel.h"
#include "platform/qt/QtStrings.h"
#include "tests/qt/QtTestApp.h"

#include <QLabel>
#include <QLocale>
#include <QTableView>
#include <QTranslator>
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
        history.setStatusText("3 of 1200 deletions");
        EXPECT_EQ(history.findChild<QLabel*>("statusLabel")->text(), "3 von 1200 Löschungen");
    }
    // A rule's problem, with its figures in German.
    EXPECT_EQ(qt::QtStrings::shown("The minimum free space must be a number from 0 to 99.5 %."),
              "Der mindestens freie Platz muss eine Zahl von 0 bis 99,5 % sein.");
    QLocale::setDefault(QLocale::c());
    QCoreApplication::removeTranslator(&german);
}

} // namespace
} // namespace bw::test
