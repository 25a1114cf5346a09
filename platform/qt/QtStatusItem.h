#pragma once
#include "platform/StatusItem.h"

#include <QIcon>
#include <functional>
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
// offers). When no tray is there it says so once in the log and keeps looking for one as
// long as it runs; a tray that comes late gets the icon, with one line in the log.
class QtStatusItem final : public QObject, public StatusItem {
    Q_OBJECT
public:
    // `trayAvailable` asks whether a tray is there (by default the desktop's answer).
    explicit QtStatusItem(Log& log, int pollMilliseconds = 5000, std::function<bool()> trayAvailable = {});
    ~QtStatusItem() override;

    void show() override;
    void setImage(const std::string& fileName) override;
    void setToolTip(const std::string& text) override;

    // The picture of that file name among the application's pictures; null when it has none.
    static QIcon picture(const QString& fileName);
    // The same picture for the tray: a slot between two multiples of the 16-pixel grid (a
    // 24-pixel panel) shows the largest drawing that fits, centred and never rescaled, since
    // pixel art scaled by 1.5 blurs. Null when there is no such picture.
    static QIcon trayPicture(const QString& fileName);

    // The status menu: opened by either mouse button, as a menu-bar item would. The item does
    // not own it.
    void setMenu(QMenu* menu);
    // A message from the tray icon, where a tray shows one; none without a tray. Main thread.
    void showMessage(const std::string& summary, const std::string& body);

    QSystemTrayIcon* trayIcon() const { return tray_; }
    QString imageName() const { return imageName_; }
    QString toolTip() const { return toolTip_; }
    bool isInTray() const;

private:
    void lookForTray();
    void createTray();

    Log& log_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* retry_ = nullptr;
    QMenu* menu_ = nullptr;
    std::function<bool()> trayAvailable_;
    bool missingReported_ = false;
    QString imageName_;
    QString toolTip_;
};

} // namespace bw::qt
