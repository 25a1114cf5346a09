#include "app/Controllers.h"
#include "platform/qt/QtClipboardSelection.h"
#include "platform/qt/QtTrashItemChooser.h"
#include "platform/qt/QtStatusMenu.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/TestPlatform.h"

#include <QAction>
#include <QClipboard>
#include <QPushButton>
#include <QItemSelectionModel>
#include <QTreeView>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <QWidgetAction>

namespace bw::test {
namespace {

using Kind = CopiedFiles::Kind;

TEST(QtClipboardSelectionTest, ReadsTheFileManagersCopyAsBytes)
{
    qtApp();
    QClipboard* clipboard = QGuiApplication::clipboard();
    qt::QtClipboardSelection selection;

    clipboard->clear();
    EXPECT_EQ(selection.copiedFiles().kind, Kind::Empty);

    clipboard->setText(QStringLiteral("/home/u/.Trash/a"));
    EXPECT_EQ(selection.copiedFiles().kind, Kind::Other) << "text that looks like a path is not a copied file";

    auto* urls = new QMimeData;
    urls->setUrls({QUrl::fromLocalFile(QStringLiteral("/t/.Trash/a b%c#1")), QUrl::fromLocalFile(QStringLiteral("/t/.Trash/日"))});
    clipboard->setMimeData(urls);
    CopiedFiles copied = selection.copiedFiles();
    EXPECT_EQ(copied.kind, Kind::Files);
    EXPECT_EQ(copied.paths, (std::vector<std::string>{"/t/.Trash/a b%c#1", "/t/.Trash/\xE6\x97\xA5"}));

    auto* gnome = new QMimeData;
    gnome->setData(QStringLiteral("x-special/gnome-copied-files"), "cut\nfile:///t/.Trash/%FFraw");
    clipboard->setMimeData(gnome);
    copied = selection.copiedFiles();
    EXPECT_EQ(copied.kind, Kind::Files);
    EXPECT_EQ(copied.paths, std::vector<std::string>{"/t/.Trash/\xFFraw"});

    auto* remote = new QMimeData;
    remote->setUrls({QUrl(QStringLiteral("sftp://host/t/.Trash/a"))});
    clipboard->setMimeData(remote);
    EXPECT_EQ(selection.copiedFiles().kind, Kind::Other);
}

// The chooser as the user meets it: the controller's rows in a read-only list.
class QtTrashItemChooserTest : public ::testing::Test {
protected:
    QtTrashItemChooserTest()
    {
        qtApp();
        makeFolder(tp.trash() + "/sub");
        writeFile(tp.trash() + "/sub/inner", 5000);
        setModificationTime(tp.trash() + "/sub", 1000000000);
        writeFile(tp.trash() + "/a", 1);
        setModificationTime(tp.trash() + "/a", 1100000000);
        writeFile(tp.trash() + "/b", 3);
        setModificationTime(tp.trash() + "/b", 1200000000);
        tp.platform.itemChooser = &chooser;
        c = std::make_unique<Controllers>(tp.platform);
    }

    // Runs `act` on the open dialog once it is up, from the event loop the dialog runs.
    void whenOpen(std::function<void(QDialog&)> act)
    {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [this, poll, act] {
            if (!chooser.dialog())
                return;
            poll->stop();
            poll->deleteLater();
            act(*chooser.dialog());
        });
        poll->start(10);
    }

    TestPlatform tp;
    qt::QtTrashItemChooser chooser;
    std::unique_ptr<Controllers> c;
};

TEST_F(QtTrashItemChooserTest, OffersNothingButChoosingAndReturnsTheChosenItems)
{
    QString title;
    QStringList names, sizeOrder;
    bool enabledAtFirst = true, enabledWithChoice = false, editable = true;
    int actions = -1;
    whenOpen([&](QDialog& dialog) {
        title = dialog.windowTitle();
        auto* view = dialog.findChild<QTreeView*>();
        auto* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, 0).data().toString();
        // No action of its own: no menu, no editing, no delete or rename key, no new folder.
        actions = static_cast<int>(view->actions().size() + dialog.actions().size());
        editable = view->contextMenuPolicy() != Qt::NoContextMenu ||
                   view->editTriggers() != QAbstractItemView::NoEditTriggers ||
                   (model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
        auto* accept = dialog.findChild<QPushButton*>(QStringLiteral("acceptButton"));
        enabledAtFirst = accept->isEnabled();
        view->sortByColumn(1, Qt::DescendingOrder);
        for (int row = 0; row < model->rowCount(); ++row)
            sizeOrder << model->index(row, 0).data().toString();
        view->selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view->selectionModel()->select(model->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        enabledWithChoice = accept->isEnabled();
        accept->click();
    });
    const auto chosen = c->internal.selectTrashFile();
    EXPECT_EQ(title, "DeleteChosenTitle");
    EXPECT_EQ(names, (QStringList{"sub", "a", "b"})) << "oldest first";
    EXPECT_EQ(sizeOrder.first(), "sub");
    EXPECT_EQ(sizeOrder.last(), "a");
    EXPECT_EQ(actions, 0);
    EXPECT_FALSE(editable);
    EXPECT_FALSE(enabledAtFirst);
    EXPECT_TRUE(enabledWithChoice);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (std::vector<std::string>{tp.trash() + "/sub", tp.trash() + "/a"}));
    EXPECT_TRUE(exists(tp.trash() + "/sub/inner")) << "choosing deletes nothing by itself";

    whenOpen([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(c->internal.selectTrashFile(), std::nullopt);
}

TEST_F(QtTrashItemChooserTest, ItemsOfTwoTrashesAreGroupedAndAKeptChoiceIsChosenAgain)
{
    TrashItemChooserContent content;
    content.title = "Delete";
    content.prompt = "Delete";
    const auto row = [](const std::string& path, const std::string& trash, const std::string& volume) {
        TrashItemRow r;
        r.path = path;
        r.name = path.substr(path.rfind('/') + 1);
        r.trash = trash;
        r.volume = volume;
        return r;
    };
    content.rows = {row("/home/u/.Trash/a", "Home", "/"), row("/media/u/USB/.Trash-0/files/b", "USB", "USB"),
                    row("/home/u/.Trash/c", "Home", "/")};
    content.chosen = {"/media/u/USB/.Trash-0/files/b"};
    QStringList groups, homeItems;
    QString volumeOfB;
    bool headingChoosable = true, enabledAtFirst = false;
    whenOpen([&](QDialog& dialog) {
        auto* view = dialog.findChild<QTreeView*>();
        auto* model = view->model();
        for (int group = 0; group < model->rowCount(); ++group)
            groups << model->index(group, 0).data().toString();
        const QModelIndex home = model->index(0, 0);
        for (int item = 0; item < model->rowCount(home); ++item)
            homeItems << model->index(item, 0, home).data().toString();
        const QModelIndex usb = model->index(1, 0);
        volumeOfB = model->index(0, 2, usb).data().toString();
        headingChoosable = (model->flags(home) & Qt::ItemIsSelectable) != 0;
        auto* accept = dialog.findChild<QPushButton*>(QStringLiteral("acceptButton"));
        enabledAtFirst = accept->isEnabled();
        // A second choice from the other trash, beside the kept one.
        view->selectionModel()->select(model->index(1, 0, home), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        accept->click();
    });
    const auto chosen = chooser.runModal(content);
    EXPECT_EQ(groups, (QStringList{"Home", "USB"}));
    EXPECT_EQ(homeItems, (QStringList{"a", "c"}));
    EXPECT_EQ(volumeOfB, "USB");
    EXPECT_FALSE(headingChoosable);
    EXPECT_TRUE(enabledAtFirst) << "the kept choice is chosen when the chooser opens";
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (std::vector<std::string>{"/media/u/USB/.Trash-0/files/b", "/home/u/.Trash/c"}));
}

class QtStatusMenuTest : public ::testing::Test {
protected:
    QtStatusMenuTest()
    {
        makeFolder(tp.trash());
        tp.space.set(100000000000.0, 47500000000.0);
        Controllers::registerDefaults(tp.defaults);
        c = std::make_unique<Controllers>(tp.platform);
        c->preferences.awakeFromNib();
        c->shredder.awakeFromNib();
        c->manager.attachMenu(menu);
    }

    void open() { emit menu.menu()->aboutToShow(); }
    QString text(int tag) const { return menu.action(tag)->text(); }

    QApplication& app = qtApp(); // before the menu's widgets
    TestPlatform tp;
    std::unique_ptr<Controllers> c;
    qt::QtStatusMenu menu;
};

TEST_F(QtStatusMenuTest, EveryOpeningShowsTheValidatedItems)
{
    c->internal.setTrashSize(2500000000.0);
    open();
    // Padding before figures is as wide as a digit, so the right-hand column lines up.
    EXPECT_EQ(text(kMenuUsed), QString::fromUtf8("Used\t\u200746.57 GB (50.00%)"));
    EXPECT_EQ(text(kMenuTrash), QString::fromUtf8("Trash\t\u2007\u20072.33 GB (\u20072.50%)"));
    EXPECT_FALSE(menu.action(kMenuUsed)->icon().isNull());
    EXPECT_EQ(text(kMenuForcedTrash), "StartEmpty");
    EXPECT_TRUE(menu.action(kMenuForcedTrash)->isEnabled());
    EXPECT_EQ(text(kMenuLastAutoDelete), "No auto delete operation.");
    // The figure and date lines are shown as text, not as commands that highlight.
    for (int tag : {kMenuGraph, kMenuUsed, kMenuTrash, kMenuFree, kMenuLastAutoDelete})
        EXPECT_NE(qobject_cast<QWidgetAction*>(menu.action(tag)), nullptr) << tag;
    EXPECT_EQ(qobject_cast<QWidgetAction*>(menu.action(kMenuForcedTrash)), nullptr);
    EXPECT_EQ(menu.lineText(kMenuUsed), QString::fromUtf8("Used|\u200746.57 GB (50.00%)"));
    EXPECT_EQ(menu.lineText(kMenuLastAutoDelete), "No auto delete operation.|");

    c->internal.setTrashSize(3000.0);
    open();
    EXPECT_EQ(text(kMenuTrash), QString::fromUtf8("Trash\t\u2007\u20070.00 GB (\u20070.00%) > 0"));

    c->internal.setTrashSize(0.0);
    open();
    EXPECT_FALSE(menu.action(kMenuForcedTrash)->isEnabled());
    EXPECT_FALSE(menu.action(kMenuDeletePanel)->isEnabled());

    menu.action(kMenuQuit)->trigger();
    EXPECT_EQ(tp.mainLoop.quitCount, 1);
}

TEST_F(QtStatusMenuTest, TheGraphIsDrawnFromThePatterns)
{
    c->internal.setTrashSize(2500000000.0);
    open();
    const QImage graph = menu.graphImage();
    ASSERT_FALSE(graph.isNull());
    const qreal scale = graph.devicePixelRatio();
    EXPECT_EQ(graph.width(), qRound(202 * scale));

    const auto colourOf = [](const char* pattern) {
        const QImage image = qt::QtStatusMenu::composedPicture(pattern, {});
        return image.pixelColor(image.width() / 2, image.height() / 2);
    };
    const auto colourAt = [&](int x) { return graph.pixelColor(qRound((x + 2) * scale), qRound(6 * scale)); };
    EXPECT_EQ(colourAt(1), colourOf("UsedPattern.png"));
    EXPECT_EQ(colourAt(96), colourOf("UsedPattern.png"));
    EXPECT_EQ(colourAt(101), colourOf("TrashPattern.png"));
    EXPECT_EQ(colourAt(106), colourOf("FreePattern.png"));
    EXPECT_EQ(colourAt(196), colourOf("FreePattern.png"));

    // Each opening draws the bar afresh: an emptied trash leaves no trace of its slot.
    c->internal.setTrashSize(0.0);
    tp.space.set(100000000000.0, 50000000000.0);
    open();
    EXPECT_EQ(menu.graphImage().pixelColor(qRound(103 * scale), qRound(6 * scale)), colourOf("FreePattern.png"));
}

} // namespace
} // namespace bw::test
