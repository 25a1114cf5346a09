#pragma once
#include "platform/StatusMenu.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QAction;
class QImage;
class QLabel;
class QMenu;
class QWidgetAction;

namespace bw::qt {

// The status menu as a QMenu. Every opening first runs each item through the validator;
// the usage graph is a picture composed from the stamps, shown at its own width.
class QtStatusMenu final : public QObject, public StatusMenu {
    Q_OBJECT
public:
    QtStatusMenu();
    ~QtStatusMenu() override;

    void setEntries(std::vector<MenuEntry> entries, MenuValidator validate) override;

    QMenu* menu() const { return menu_.get(); }
    // The action of an item by tag; null when the menu has none.
    QAction* action(int tag) const;
    // The graph as last drawn, in device pixels.
    QImage graphImage() const;
    // The text a display-only line shows (graph, sizes, last delete), left and right column.
    QString lineText(int tag) const;

    // A copy of the named picture with the stamps copied onto it, at the density of the
    // "@2x" pictures when they exist.
    static QImage composedPicture(const std::string& base, const std::vector<PictureStamp>& stamps);

private:
    // A line that only shows something: a widget, so that it never highlights as a
    // command would. The name column has one width in every line, so the figures align.
    struct Line {
        QLabel* picture = nullptr;
        QLabel* name = nullptr;
        QLabel* figures = nullptr;
    };
    struct Item {
        MenuEntry entry;
        QAction* action = nullptr;
        Line line;
    };
    void validateAll();
    void apply(Item& item, const MenuItemState& state);
    QAction* makeAction(const MenuEntry& entry, Line& line);
    QWidgetAction* makeLine(Line& line);

    std::unique_ptr<QMenu> menu_;
    std::vector<Item> items_;
    MenuValidator validate_;
    QWidgetAction* graphAction_ = nullptr;
    QLabel* graphPicture_ = nullptr;
};

} // namespace bw::qt
