#include "platform/qt/QtStatusItem.h"

#include "platform/Log.h"

#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QHash>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>

namespace bw::qt {

namespace {

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
    // QIcon picks up the "@2x" file beside it for dense screens; the 48-pixel drawing serves
    // trays larger than twice the 16-pixel grid, so the tray never blurs a smaller one up.
    QIcon icon = QFile::exists(path) ? QIcon(path) : QIcon();
    const QString large = QString(path).replace(QStringLiteral(".png"), QStringLiteral("@48.png"));
    if (!icon.isNull() && QFile::exists(large))
        icon.addFile(large, QSize(48, 48));
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
    tray_ = new QSystemTrayIcon(picture(imageName_));
    tray_->setToolTip(toolTip_);
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
    if (tray_) {
        tray_->setIcon(picture(imageName_));
        tray_->show();
    }
}

void QtStatusItem::setToolTip(const std::string& text)
{
    if (handedOver(this, [this, text] { setToolTip(text); }))
        return;
    toolTip_ = QString::fromStdString(text);
    if (tray_)
        tray_->setToolTip(toolTip_);
}

} // namespace bw::qt
