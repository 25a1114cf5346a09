#include "platform/qt/QtStatusMenu.h"

#include "platform/qt/QtStatusItem.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <QWidgetAction>

#include <algorithm>

namespace bw::qt {

namespace {

// The blanks that pad a figure on the left ("  2.33", "( 2.50%)") become figure spaces,
// which are as wide as a digit, so the figures stand in columns in a proportional font.
QString withFigureSpaces(QString text, qsizetype from = 0)
{
    const QChar figureSpace(0x2007);
    for (qsizetype start = from; start < text.size(); ++start) {
        if (start > from && text[start - 1] != QLatin1Char('('))
            continue;
        qsizetype end = start;
        while (end < text.size() && text[end] == QLatin1Char(' '))
            ++end;
        if (end > start && end < text.size() && text[end].isDigit())
            std::fill(text.begin() + start, text.begin() + end, figureSpace);
    }
    return text;
}

QString menuText(const std::string& text)
{
    // A single '&' would mark a shortcut letter and vanish.
    QString shown = QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
    // The part after a tab is the right-aligned column of the size lines.
    const qsizetype tab = shown.indexOf(QLatin1Char('\t'));
    return tab < 0 ? shown : withFigureSpaces(shown, tab + 1);
}

// The picture at the highest density the resources hold, with its scale.
QImage resourcePicture(const std::string& name, qreal& scale)
{
    const QString file = QStringLiteral(":/images/") + QString::fromStdString(name);
    QString dense = file;
    dense.insert(dense.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
    scale = QFile::exists(dense) ? 2.0 : 1.0;
    QImage image(scale > 1.0 ? dense : file);
    // Composed in device pixels; a painter would otherwise scale by the "@2x" density again.
    image.setDevicePixelRatio(1.0);
    return image;
}

} // namespace

QtStatusMenu::QtStatusMenu() : menu_(std::make_unique<QMenu>())
{
    connect(menu_.get(), &QMenu::aboutToShow, this, &QtStatusMenu::validateAll);
}

QtStatusMenu::~QtStatusMenu() = default;

QImage QtStatusMenu::composedPicture(const std::string& base, const std::vector<PictureStamp>& stamps)
{
    qreal scale = 1.0;
    QImage image = resourcePicture(base, scale).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    // Each stamp replaces what it covers, as the bar is redrawn from scratch every time.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const auto& stamp : stamps) {
        qreal stampScale = 1.0;
        QImage pattern = resourcePicture(stamp.picture, stampScale);
        if (pattern.isNull())
            continue;
        if (stampScale != scale)
            pattern = pattern.scaled(pattern.size() * scale / stampScale);
        painter.drawImage(QPointF(stamp.x * scale, stamp.y * scale), pattern);
    }
    painter.end();
    image.setDevicePixelRatio(scale);
    return image;
}

void QtStatusMenu::setEntries(std::vector<MenuEntry> entries, MenuValidator validate)
{
    menu_->clear();
    items_.clear();
    graphAction_ = nullptr;
    validate_ = std::move(validate);
    for (auto& entry : entries) {
        QAction* action = makeAction(entry);
        items_.push_back({std::move(entry), action});
    }
}

QAction* QtStatusMenu::makeAction(const MenuEntry& entry)
{
    if (entry.tag == kMenuSeparator)
        return menu_->addSeparator();
    QAction* action = nullptr;
    if (entry.tag == kMenuGraph) {
        // A wide picture: as an icon the menu would shrink it to a square.
        auto* row = new QWidget;
        auto* layout = new QHBoxLayout(row);
        graphPicture_ = new QLabel(row);
        graphTitle_ = new QLabel(row);
        layout->addWidget(graphPicture_);
        layout->addWidget(graphTitle_);
        layout->addStretch();
        graphAction_ = new QWidgetAction(menu_.get());
        graphAction_->setDefaultWidget(row);
        menu_->addAction(graphAction_);
        action = graphAction_;
    } else {
        action = menu_->addAction(menuText(entry.title));
    }
    action->setData(entry.tag);
    if (entry.action)
        connect(action, &QAction::triggered, this, [run = entry.action] { run(); });
    return action;
}

void QtStatusMenu::validateAll()
{
    if (!validate_)
        return;
    for (auto& item : items_)
        if (item.entry.tag != kMenuSeparator)
            apply(item, validate_(item.entry.tag));
}

void QtStatusMenu::apply(Item& item, const MenuItemState& state)
{
    item.action->setEnabled(state.enabled);
    if (state.title)
        item.action->setText(menuText(*state.title));
    if (!state.picture)
        return;
    if (item.action != graphAction_) {
        item.action->setIcon(QtStatusItem::picture(QString::fromStdString(*state.picture)));
        return;
    }
    const QImage graph = composedPicture(*state.picture, state.stamps);
    graphPicture_->setPixmap(QPixmap::fromImage(graph));
    if (state.title)
        graphTitle_->setText(withFigureSpaces(QString::fromStdString(*state.title)));
    // Menus exported to a desktop's own tray show the action, not the widget.
    item.action->setIcon(QIcon(QPixmap::fromImage(graph)));
}

QAction* QtStatusMenu::action(int tag) const
{
    for (const auto& item : items_)
        if (item.entry.tag == tag && tag != kMenuSeparator)
            return item.action;
    return nullptr;
}

QImage QtStatusMenu::graphImage() const
{
    return graphPicture_ ? graphPicture_->pixmap().toImage() : QImage();
}

} // namespace bw::qt
