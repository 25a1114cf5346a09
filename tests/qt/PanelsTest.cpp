#include "app/Controllers.h"
#include "platform/StatusMenu.h"
#include "platform/qt/AccessibleNames.h"
#include "platform/qt/QtInfoPanel.h"
#include "platform/qt/QtPrefsPanel.h"
#include "settings/SettingsKeys.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/TestPlatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace bw;
using namespace bw::test;

namespace {

constexpr double kMegabyte = 1048576.0;

// The controllers with the real panels on the offscreen platform; everything else faked.
class PanelsTest : public ::testing::Test {
protected:
    PanelsTest()
    {
        qtApp();
        prefsPanel = std::make_unique<qt::QtPrefsPanel>();
        infoPanel = std::make_unique<qt::QtInfoPanel>();
        tp.platform.prefsPanel = prefsPanel.get();
        tp.platform.infoPanel = infoPanel.get();
        Controllers::registerDefaults(tp.defaults);
        c.preferences.awakeFromNib();
        c.shredder.awakeFromNib();
        c.volume.awakeFromNib();
    }
    ~PanelsTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    template <typename W>
    W* in(QWidget* panel, const char* name)
    {
        auto* widget = panel->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    template <typename W>
    W* pref(const char* name) { return in<W>(prefsPanel.get(), name); }
    template <typename W>
    W* info(const char* name) { return in<W>(infoPanel.get(), name); }
    bool noteShown(const char* name) { return pref<QLabel>(name)->isVisibleTo(prefsPanel.get()); }

    // Replaces a field's text as a user does, key by key.
    void type(const char* field, const QString& text)
    {
        QLineEdit* edit = pref<QLineEdit>(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    QString share(const char* name) { return info<QLabel>(name)->text(); }

    TestPlatform tp;
    std::unique_ptr<qt::QtPrefsPanel> prefsPanel;
    std::unique_ptr<qt::QtInfoPanel> infoPanel;
    Controllers c{tp.platform};
};

TEST_F(PanelsTest, PreferencesOpenWithTheDefaultsAndEachBoxTogglesConfirm)
{
    c.preferences.execPrefs();
    EXPECT_TRUE(prefsPanel->isVisible());
    EXPECT_EQ(pref<QLineEdit>("miniRatioText")->text(), "10");
    EXPECT_EQ(pref<QLineEdit>("intervalText")->text(), "300");
    EXPECT_EQ(pref<QLabel>("totalSizeText")->text(), "931.32");
    EXPECT_EQ(pref<QLabel>("miniSizeText")->text(), "(93.13GB)");
    for (const char* box : {"testModeCheck", "shredderCheck", "noRenameCheck"})
        EXPECT_FALSE(pref<QCheckBox>(box)->isChecked()) << box;
    for (const char* note : {"noteRatioText", "noteIntervalText", "noteTestText", "noteShredderText", "noteNoRenameText"})
        EXPECT_FALSE(noteShown(note)) << note;
    QPushButton* exec = pref<QPushButton>("execButton");
    EXPECT_FALSE(exec->isEnabled());

    pref<QCheckBox>("shredderCheck")->click();
    EXPECT_TRUE(exec->isEnabled());
    EXPECT_TRUE(noteShown("noteShredderText"));
    pref<QCheckBox>("shredderCheck")->click();
    EXPECT_FALSE(exec->isEnabled());
    EXPECT_FALSE(noteShown("noteShredderText"));
    // The question before shredding is asked by default; the box is wired like the others.
    EXPECT_TRUE(pref<QCheckBox>("confirmShreddingCheck")->isChecked());
    pref<QCheckBox>("confirmShreddingCheck")->click();
    EXPECT_TRUE(exec->isEnabled());
    pref<QCheckBox>("confirmShreddingCheck")->click();
    EXPECT_FALSE(exec->isEnabled());

    // The stepper moves the field by whole percents.
    pref<QToolButton>("miniRatioStepUp")->click();
    EXPECT_EQ(pref<QLineEdit>("miniRatioText")->text(), "11");
    EXPECT_TRUE(exec->isEnabled());
}

TEST_F(PanelsTest, PreferencesTakeAFractionOnlyWithAnotherChangeAndShowTheNotes)
{
    c.preferences.execPrefs();
    QPushButton* exec = pref<QPushButton>("execButton");
    type("miniRatioText", "10.5");
    EXPECT_FALSE(exec->isEnabled());

    type("intervalText", "30");
    EXPECT_TRUE(noteShown("noteIntervalText"));
    EXPECT_TRUE(exec->isEnabled());
    type("intervalText", "300");
    EXPECT_FALSE(noteShown("noteIntervalText"));
    EXPECT_FALSE(exec->isEnabled());

    // Half the capacity is free: a 60 % minimum would start deleting at once.
    type("miniRatioText", "60");
    EXPECT_TRUE(noteShown("noteRatioText"));
    type("miniRatioText", "10.5");
    EXPECT_FALSE(noteShown("noteRatioText"));

    pref<QCheckBox>("testModeCheck")->click();
    EXPECT_TRUE(noteShown("noteTestText"));
    exec->click();
    EXPECT_FALSE(prefsPanel->isVisible());
    EXPECT_FALSE(c.preferences.isExecting());
    EXPECT_EQ(std::get<float>(tp.defaults.stored().at(keys::MinimumFreeSpaceRatio.name)), 0.105f);
    EXPECT_TRUE(c.preferences.testModeSwitch());
}

TEST_F(PanelsTest, PreferencesReadTheUsersDecimalsAndSayWhyApplyIsOff)
{
    // A panel made for a German user: a decimal comma.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    prefsPanel = std::make_unique<qt::QtPrefsPanel>();
    tp.platform.prefsPanel = prefsPanel.get();
    QLocale::setDefault(QLocale::c());
    c.preferences.awakeFromNib();
    c.preferences.execPrefs();
    QPushButton* exec = pref<QPushButton>("execButton");
    QLabel* problem = pref<QLabel>("noteProblemText");
    EXPECT_FALSE(noteShown("noteProblemText"));

    type("miniRatioText", "7,5");
    EXPECT_EQ(pref<QLabel>("miniSizeText")->text(), "(69.85GB)") << "7,5 % read as 7.5 %";
    type("intervalText", "0,001");
    EXPECT_FALSE(exec->isEnabled());
    EXPECT_TRUE(noteShown("noteProblemText"));
    EXPECT_TRUE(problem->text().contains("1 to 86400"));
    type("intervalText", "abc");
    EXPECT_EQ(pref<QLineEdit>("intervalText")->text(), "") << "letters are never taken";
    EXPECT_FALSE(exec->isEnabled());

    // Every note shown is as tall as its wrapped text needs at the panel's width.
    pref<QCheckBox>("shredderCheck")->click();
    pref<QCheckBox>("noRenameCheck")->click();
    pref<QCheckBox>("testModeCheck")->click();
    QCoreApplication::processEvents();
    for (const char* note : {"noteProblemText", "noteShredderText", "noteNoRenameText", "noteTestText"}) {
        QLabel* label = pref<QLabel>(note);
        ASSERT_TRUE(noteShown(note)) << note;
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << note;
    }

    type("intervalText", "45,5");
    EXPECT_FALSE(noteShown("noteProblemText"));
    ASSERT_TRUE(exec->isEnabled());
    exec->click();
    EXPECT_EQ(c.preferences.monitorInterval(), 45.5f);
    EXPECT_FLOAT_EQ(c.preferences.minimumRatio(), 0.075f);
}

TEST_F(PanelsTest, PreferencesCancelWritesNothingAndKeepsThePosition)
{
    c.preferences.execPrefs();
    type("miniRatioText", "20");
    pref<QCheckBox>("noRenameCheck")->click();
    pref<QPushButton>("cancelButton")->click();
    EXPECT_FALSE(prefsPanel->isVisible());
    EXPECT_FALSE(c.preferences.isExecting());
    EXPECT_TRUE(tp.defaults.stored().empty());
    EXPECT_EQ(tp.defaults.synchronizeCount, 0);
    EXPECT_EQ(c.preferences.minimumRatio(), 0.1f);
    EXPECT_TRUE(tp.defaults.stringForKey(keys::PreferencesPanel).has_value());

    c.preferences.execPrefs();
    EXPECT_EQ(pref<QLineEdit>("miniRatioText")->text(), "10");
    EXPECT_FALSE(pref<QCheckBox>("noRenameCheck")->isChecked());
    prefsPanel->close();
}

TEST_F(PanelsTest, InformationPanelSharesFlagATinyTrashButNotAnEmptyOne)
{
    tp.space.set(500e9, 100e9);
    c.internal.setTrashSize(kMegabyte);
    EXPECT_EQ(infoPanel->frameText(), ""); // never shown: no frame to keep at quit
    c.volume.dispInformation();
    EXPECT_TRUE(infoPanel->isVisible());
    EXPECT_EQ(share("trashRateText"), "( 0.00%) > 0");
    EXPECT_EQ(share("freeRateText"), "(20.00%)");
    EXPECT_EQ(info<QLabel>("totalSizeText")->text(), "465.66");
    EXPECT_TRUE(info<QPushButton>("forcedEmptyButton")->isEnabled());
    for (const char* hidden : {"newinspectButton", "reinspectButton", "forcedTimerButton"})
        EXPECT_TRUE(info<QPushButton>(hidden)->isHidden()) << hidden;

    c.internal.setTrashSize(0.0);
    c.volume.renewAllInfo();
    EXPECT_EQ(share("trashRateText"), "( 0.00%)");
    EXPECT_FALSE(info<QPushButton>("forcedEmptyButton")->isEnabled());
    infoPanel->close();
    EXPECT_TRUE(tp.defaults.stringForKey(keys::TrashInformationPanel).has_value());
}

// A trashed file may be named like markup: the panel shows the name, never tags or a link.
TEST_F(PanelsTest, InformationPanelShowsANameLikeMarkupAsText)
{
    const std::string forged = "<b>HOME <a href=\"http://x\"><img src=x></a>";
    infoPanel->setShredFileText(forged);
    infoPanel->setNextItemText(forged);
    for (const char* field : {"shredFileText", "nextItemText"}) {
        auto* label = info<QLabel>(field);
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << field;
        EXPECT_FALSE(label->toolTip().contains(QStringLiteral("<b>"))) << field;
        EXPECT_TRUE(label->toolTip().contains(QStringLiteral("&lt;b&gt;HOME"))) << field;
    }
}

TEST_F(PanelsTest, InformationPanelGivesTheMenusCommandsAndEveryControlAName)
{
    c.manager.awakeFromNib();
    c.volume.dispInformation();
    QPushButton* choose = infoPanel->commandButton(kMenuDeletePanel);
    QPushButton* quit = infoPanel->commandButton(kMenuQuit);
    ASSERT_NE(choose, nullptr);
    ASSERT_NE(quit, nullptr);
    for (int tag : {kMenuDeleteSelects, kMenuPreferences, kMenuCheckNow})
        EXPECT_NE(infoPanel->commandButton(tag), nullptr) << tag;
    EXPECT_EQ(infoPanel->commandButton(kMenuInformation), nullptr);
    EXPECT_TRUE(choose->isVisible());
    EXPECT_FALSE(choose->isEnabled()) << "every trash is empty";
    // The buttons follow the program's state while the panel is open.
    c.internal.setTrashSize(kMegabyte);
    runEvents(3000, [&] { return choose->isEnabled(); });
    EXPECT_TRUE(choose->isEnabled());
    quit->click();
    EXPECT_EQ(tp.mainLoop.quitCount, 1);

    // What a screen reader announces for each control of both panels.
    c.preferences.execPrefs();
    for (QWidget* panel : {static_cast<QWidget*>(infoPanel.get()), static_cast<QWidget*>(prefsPanel.get())}) {
        for (QWidget* widget : panel->findChildren<QWidget*>()) {
            const bool named = !qt::isControl(*widget) || !widget->accessibleName().isEmpty();
            EXPECT_TRUE(named) << widget->metaObject()->className() << " " << widget->objectName().toStdString();
        }
    }
    EXPECT_EQ(infoPanel->findChild<QComboBox*>(QStringLiteral("diskMenuButton"))->accessibleName(), "Volume");
    EXPECT_EQ(choose->accessibleName(), "Choose Trash Items to Delete");
    prefsPanel->close();
}

TEST_F(PanelsTest, InformationPanelWhileAVolumeIsMeasuredAndAsVolumesComeAndGo)
{
    tp.volumes.set({"/mnt/backup"});
    tp.space.setFor("/mnt/backup", 500e9, 200e9);
    c.external.setTrashSize(kMegabyte, "/mnt/backup");
    c.external.setTrashSizeing(true, "/mnt/backup");
    c.external.setTrashStatus(kMeasuring, "/mnt/backup");
    tp.keys.held = true;
    c.volume.dispInformation();
    EXPECT_FALSE(info<QPushButton>("reinspectButton")->isHidden());

    QComboBox* menu = info<QComboBox>("diskMenuButton");
    ASSERT_EQ(menu->count(), 2);
    EXPECT_EQ(menu->currentIndex(), 0);
    QTest::keyClick(menu, Qt::Key_Down); // the user chooses the volume
    ASSERT_EQ(menu->currentIndex(), 1);
    EXPECT_EQ(menu->itemText(1), "backup");
    QProgressBar* indicator = info<QProgressBar>("sizeingIndicator");
    EXPECT_TRUE(indicator->isVisibleTo(infoPanel.get()));
    EXPECT_EQ(indicator->maximum(), 0); // busy, not a fraction
    EXPECT_EQ(info<QLabel>("trashStatusText")->text(), "Measureing");
    EXPECT_FALSE(info<QPushButton>("reinspectButton")->isEnabled());
    EXPECT_FALSE(info<QPushButton>("forcedEmptyButton")->isEnabled());

    c.external.setTrashSizeing(false, "/mnt/backup");
    c.external.setTrashStatus(kStandingBy, "/mnt/backup");
    c.volume.renewAllInfo();
    EXPECT_FALSE(indicator->isVisibleTo(infoPanel.get()));
    EXPECT_TRUE(info<QPushButton>("reinspectButton")->isEnabled());
    EXPECT_TRUE(info<QPushButton>("forcedEmptyButton")->isEnabled());

    // A mount keeps the chosen position; the chosen last volume unmounted moves to the new last.
    tp.volumes.mount("/mnt/photos");
    c.volume.renewAllInfo();
    ASSERT_EQ(menu->count(), 3);
    EXPECT_EQ(menu->itemText(2), "photos");
    EXPECT_EQ(menu->currentIndex(), 1);
    QTest::keyClick(menu, Qt::Key_Down);
    ASSERT_EQ(menu->currentIndex(), 2);
    tp.volumes.unmount("/mnt/photos");
    c.volume.renewAllInfo();
    ASSERT_EQ(menu->count(), 2);
    EXPECT_EQ(menu->currentIndex(), 1);
    EXPECT_EQ(info<QLabel>("totalSizeText")->text(), "465.66");
    infoPanel->close();
}

} // namespace
