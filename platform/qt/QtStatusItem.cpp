#include "platform/qt/QtStatusItem.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QCursor>
#include <QLocale>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace bw::qt {

namespace {

// The picture the icon flashing blinks out with.
constexpr const char* kBlankPicture = "InvisibleTrash.png";

// Calls from another thread are applied on the item's own thread, in call order.
template <typename F>
bool handedOver(QObject* target, F&& apply)
{
    if (QThread::currentThread() == target->thread())
        return false;
    QMetaObject::invokeMethod(target, std::forward<F>(apply), Qt::QueuedConnection);
    return true;
}

} // namespace

QtStatusItem::QtStatusItem(Log& log, int pollMilliseconds, std::function<bool()> trayAvailable)
    : log_(log), trayAvailable_(std::move(trayAvailable))
{
    if (!trayAvailable_)
        trayAvailable_ = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    retry_ = new QTimer(this);
    retry_->setInterval(pollMilliseconds);
    connect(retry_, &QTimer::timeout, this, &QtStatusItem::lookForTray);
}

QtStatusItem::~QtStatusItem()
{
    delete tray_;
}

QIcon QtStatusItem::picture(const QString& fileName)
{
    static QHash<QString, QIcon> cache;
    if (auto it = cache.constFind(fileName); it != cache.constEnd())
        return *it;
    const QString path = QStringLiteral(":/images/") + fileName;
    // QIcon picks up the "@2x" file beside it for dense screens.
    const QIcon icon = QFile::exists(path) ? QIcon(path) : QIcon();
    cache.insert(fileName, icon);
    return icon;
}

namespace {

// Draws the largest of its pictures (by device pixels) that fits the place it is given,
// centred on whole pixels; only a place smaller than all of them gets a smaller one.
class GridIconEngine final : public QIconEngine {
public:
    explicit GridIconEngine(QList<QPixmap> pictures) : pictures_(std::move(pictures))
    {
        std::sort(pictures_.begin(), pictures_.end(),
                  [](const QPixmap& a, const QPixmap& b) { return a.width() < b.width(); });
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        // Device pixels per unit of `rect`: the scale of the screen (QT_SCALE_FACTOR too),
        // which the tray's painter carries in its transform.
        const qreal scale = painter->deviceTransform().m11();
        const qreal ratio = scale > 0.0 ? scale : 1.0;
        const QSize place = (QSizeF(rect.size()) * ratio).toSize();
        QPixmap shown = fitting(place);
        if (shown.isNull())
            return;
        if (shown.width() > place.width() || shown.height() > place.height())
            shown = shown.scaled(place, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        shown.setDevicePixelRatio(ratio);
        const QPointF corner(rect.x() + ((place.width() - shown.width()) / 2) / ratio,
                             rect.y() + ((place.height() - shown.height()) / 2) / ratio);
        painter->drawPixmap(corner, shown);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap out(size);
        out.fill(Qt::transparent);
        QPainter painter(&out);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return out;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const QPixmap& picture : pictures_)
            sizes.append(picture.size());
        return sizes;
    }

    QIconEngine* clone() const override { return new GridIconEngine(pictures_); }
    QString key() const override { return QStringLiteral("BrindlewickGrid"); }

private:
    QPixmap fitting(const QSize& place) const
    {
        QPixmap best = pictures_.isEmpty() ? QPixmap() : pictures_.first();
        for (const QPixmap& picture : pictures_)
            if (picture.width() <= place.width() && picture.height() <= place.height())
                best = picture;
        return best;
    }

    QList<QPixmap> pictures_;
};

} // namespace

QIcon QtStatusItem::trayPicture(const QString& fileName)
{
    static QHash<QString, QIcon> cache;
    if (auto it = cache.constFind(fileName); it != cache.constEnd())
        return *it;
    QList<QPixmap> pictures;
    const QString path = QStringLiteral(":/images/") + fileName;
    for (const QString& suffix : {QString(), QStringLiteral("@2x"), QStringLiteral("@48")}) {
        const QPixmap picture(QString(path).replace(QStringLiteral(".png"), suffix + QStringLiteral(".png")));
        if (!picture.isNull())
            pictures.append(picture);
    }
    const QIcon icon = pictures.isEmpty() ? QIcon() : QIcon(new GridIconEngine(pictures));
    cache.insert(fileName, icon);
    return icon;
}

void QtStatusItem::show()
{
    if (handedOver(this, [this] { show(); }))
        return;
    lookForTray();
}

void QtStatusItem::lookForTray()
{
    if (tray_)
        return;
    if (trayAvailable_()) {
        retry_->stop();
        createTray();
        // The item appears with its first picture, not as an empty slot.
        tray_->setVisible(!imageName_.isEmpty());
        if (missingReported_)
            log_.line("A system tray has appeared: the tray icon is shown");
        return;
    }
    // A panel or tray host started after the program is still welcome, however late.
    if (!missingReported_) {
        missingReported_ = true;
        log_.line("No system tray found: running without a tray icon until one appears; the trashes are "
                  "still watched and emptied");
    }
    retry_->start();
}

void QtStatusItem::createTray()
{
    if (tray_)
        return;
    tray_ = new QSystemTrayIcon(trayPicture(imageName_));
    tray_->setToolTip(toolTip());
    tray_->setContextMenu(menu_);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && menu_)
            menu_->popup(QCursor::pos());
    });
}

void QtStatusItem::setMenu(QMenu* menu)
{
    menu_ = menu;
    if (tray_)
        tray_->setContextMenu(menu_);
}

void QtStatusItem::showMessage(const std::string& summary, const std::string& body)
{
    if (isInTray())
        tray_->showMessage(QString::fromStdString(summary), QString::fromStdString(body));
}

bool QtStatusItem::isInTray() const
{
    return tray_ && tray_->isVisible();
}

void QtStatusItem::setImage(const std::string& fileName)
{
    if (handedOver(this, [this, fileName] { setImage(fileName); }))
        return;
    imageName_ = QString::fromStdString(fileName);
    if (alertOpen_ && imageName_ == QLatin1String(kBlankPicture))
        return;
    shownName_ = imageName_;
    if (tray_) {
        tray_->setIcon(trayPicture(imageName_));
        tray_->show();
    }
}

void QtStatusItem::setAlertOpen(bool open)
{
    alertOpen_ = open;
    // Closed: the picture that came meanwhile is shown now.
    if (!open && shownName_ != imageName_)
        setImage(imageName_.toStdString());
}

void QtStatusItem::setToolTip(const std::string& text)
{
    if (handedOver(this, [this, text] { setToolTip(text); }))
        return;
    toolTip_ = QString::fromStdString(text);
    showToolTip();
}

void QtStatusItem::setFigures(const ToolTipFigures& figures)
{
    if (handedOver(this, [this, figures] { setFigures(figures); }))
        return;
    figures_ = figures;
    showToolTip();
}

QString QtStatusItem::sizeText(double bytes)
{
    const QString text =
        QLocale().formattedDataSize(static_cast<qint64>(std::max(bytes, 0.0)), 1, QLocale::DataSizeTraditionalFormat);
    return QString(text).replace(QLatin1Char(' '), QChar(0x00a0));
}

QString QtStatusItem::toolTip() const
{
    // The state's sentence is the program's own; what a reader needs is the figures.
    QString text = QCoreApplication::translate("Brindlewick", toolTip_.toUtf8().constData());
    if (figures_)
        text += QLatin1Char('\n') + tr("Trash: %1").arg(sizeText(figures_->trash)) + QLatin1Char('\n') +
                tr("Free space: %1 (minimum %2)").arg(sizeText(figures_->free), sizeText(figures_->minimum));
    return text;
}

void QtStatusItem::showToolTip()
{
    if (tray_)
        tray_->setToolTip(toolTip());
}

} // namespace bw::qt
