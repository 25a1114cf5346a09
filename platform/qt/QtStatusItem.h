#pragma once
#include "platform/StatusItem.h"

#include <QIcon>
#include <QMap>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace bw {
class Log;
}

namespace bw::qt {

// The status item as a tray icon (StatusNotifierItem or XEmbed, whichever the desktop
// offers). When no tray is there it looks again a few times, then settles without an icon
// and says so once in the log.
class QtStatusItem final : public QObject, public StatusItem {
    Q_OBJECT
public:
    explicit QtStatusItem(Log& log, int trayTries = 6, int retryMilliseconds = 2000);
    ~QtStatusItem() override;

    void show() override;
    void setImage(const std::string& fileName) override;
    void setToolTip(const std::string& text) override;

    // The picture of that file name among the application's pictures; null when it has none.
    static QIcon picture(const QString& fileName);

    // The status menu: opened by either mouse button, as a menu-bar item would. The item does
    // not own it.
    void setMenu(QMenu* menu);

    QSystemTrayIcon* trayIcon() const { return tray_; }
    QString imageName() const { return imageName_; }
    QString toolTip() const { return toolTip_; }
    bool isInTray() const;

signals:
    // The tray found (or given up on): the menu can attach itself now.
    void traySettled(bool inTray);

private:
    void lookForTray();
    void createTray();

    Log& log_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* retry_ = nullptr;
    QMenu* menu_ = nullptr;
    int triesLeft_;
    QString imageName_;
    QString toolTip_;
};

} // namespace bw::qt
