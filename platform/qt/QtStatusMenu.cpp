#include "platform/qt/QtStatusMenu.h"

#include "platform/qt/QtStatusItem.h"
#include "platform/qt/QtStrings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
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

// A title in the user's language: a size line's name apart from its figures, the date of
// the last automatic deletion in the user's way of writing dates.
QString localTitle(const std::string& text)
{
    const QString title = QString::fromStdString(text);
    static const QRegularExpression lastDeletion(
        QStringLiteral("^Last auto delete (\\d+)\\.(\\d+)\\.(\\d+) (\\d+):(\\d+)$"));
    if (const QRegularExpressionMatch m = lastDeletion.match(title); m.hasMatch()) {
        const QDateTime at(QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()),
                           QTime(m.captured(4).toInt(), m.captured(5).toInt()));
        return QCoreApplication::translate(QtStrings::kContext, "Last automatic deletion: %1")
            .arg(QLocale().toString(at, QLocale::ShortFormat));
    }
    const qsizetype tab = title.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return QtStrings::shown(text);
    return QCoreApplication::translate(QtStrings::kContext, title.left(tab).toUtf8().constData()) +
           QLatin1Char('\t') + QtStrings::localFigures(title.mid(tab + 1));
}

QString menuText(const std::string& text)
{
    // A single '&' would mark a shortcut letter and vanish.
    QString shown = localTitle(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
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

// The lines that only show figures or a date; choosing them does nothing.
bool isDisplayOnly(int tag)
{
    return tag == kMenuGraph || tag == kMenuUsed || tag == kMenuTrash || tag == kMenuFree ||
           tag == kMenuLastAutoDelete;
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
    graphPicture_ = nullptr;
    validate_ = std::move(validate);
    for (auto& entry : entries) {
        Line line;
        QAction* action = makeAction(entry, line);
        items_.push_back({std::move(entry), action, line});
    }
}

QWidgetAction* QtStatusMenu::makeLine(Line& line)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    line.picture = new QLabel(row);
    line.name = new QLabel(row);
    line.figures = new QLabel(row);
    line.figures->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The longest name of the size lines sets the name column of all of them.
    const QFontMetrics metrics(line.name->font());
    int nameWidth = 0;
    for (const char* name : {"Used", "Trash", "Free"})
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(QCoreApplication::translate(QtStrings::kContext, name)));
    line.name->setMinimumWidth(nameWidth);
    // The same inset as the commands' text, which leaves room for an icon.
    const int icon = menu_->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, menu_.get());
    line.picture->setMinimumWidth(icon);
    layout->setContentsMargins(menu_->style()->pixelMetric(QStyle::PM_MenuHMargin) + 6, 2, 12, 2);
    layout->addWidget(line.picture);
    layout->addWidget(line.name);
    layout->addStretch();
    layout->addWidget(line.figures);
    auto* action = new QWidgetAction(menu_.get());
    action->setDefaultWidget(row);
    menu_->addAction(action);
    return action;
}

QAction* QtStatusMenu::makeAction(const MenuEntry& entry, Line& line)
{
    if (entry.tag == kMenuSeparator)
        return menu_->addSeparator();
    QAction* action = nullptr;
    if (isDisplayOnly(entry.tag)) {
        QWidgetAction* shown = makeLine(line);
        if (entry.tag == kMenuGraph) {
            // A wide picture: as an icon the menu would shrink it to a square.
            graphAction_ = shown;
            graphPicture_ = line.picture;
        }
        action = shown;
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
    if (state.title) {
        // Menus exported to a desktop's own tray show the action's text, not the widget.
        item.action->setText(menuText(*state.title));
        if (item.line.name) {
            const QString shown = localTitle(*state.title);
            const qsizetype tab = shown.indexOf(QLatin1Char('\t'));
            if (item.action == graphAction_) {
                item.line.name->clear();
                item.line.figures->setText(withFigureSpaces(shown));
            } else if (tab < 0) {
                item.line.name->setText(shown);
                item.line.figures->clear();
            } else {
                item.line.name->setText(shown.left(tab));
                item.line.figures->setText(withFigureSpaces(shown.mid(tab + 1)));
            }
        }
    }
    if (!state.picture)
        return;
    if (item.action != graphAction_) {
        const QIcon icon = QtStatusItem::picture(QString::fromStdString(*state.picture));
        item.action->setIcon(icon);
        if (item.line.picture) {
            const int size = item.line.picture->minimumWidth();
            item.line.picture->setPixmap(icon.pixmap(QSize(size, size), item.line.picture->devicePixelRatioF()));
        }
        return;
    }
    const QImage graph = composedPicture(*state.picture, state.stamps);
    graphPicture_->setPixmap(QPixmap::fromImage(graph));
    item.action->setIcon(QIcon(QPixmap::fromImage(graph)));
}

QAction* QtStatusMenu::action(int tag) const
{
    for (const auto& item : items_)
        if (item.entry.tag == tag && tag != kMenuSeparator)
            return item.action;
    return nullptr;
}

QString QtStatusMenu::lineText(int tag) const
{
    for (const auto& item : items_)
        if (item.entry.tag == tag && item.line.name)
            return item.line.name->text() + QLatin1Char('|') + item.line.figures->text();
    return {};
}

QImage QtStatusMenu::graphImage() const
{
    return graphPicture_ ? graphPicture_->pixmap().toImage() : QImage();
}

} // namespace bw::qt
