#pragma once
#include "platform/StatusItem.h"

#include <QIcon>
#include <functional>
#include <optional>
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
    void setFigures(const ToolTipFigures& figures) override;

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

    // While an alert is open the icon does not blink out: the flashing's blank picture is
    // not shown, so the user sees which program the alert belongs to. Main thread.
    void setAlertOpen(bool open);

    QSystemTrayIcon* trayIcon() const { return tray_; }
    QString imageName() const { return imageName_; }
    // The picture the icon shows now.
    QString shownImageName() const { return shownName_; }
    // The whole tool tip: the state, then the figures.
    QString toolTip() const;
    // A size in the user's locale, its figure and unit joined by a no-break space.
    static QString sizeText(double bytes);
    bool isInTray() const;

private:
    void lookForTray();
    void showToolTip();
    void createTray();

    Log& log_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* retry_ = nullptr;
    QMenu* menu_ = nullptr;
    std::function<bool()> trayAvailable_;
    bool missingReported_ = false;
    bool alertOpen_ = false;
    QString shownName_; // the picture the tray shows, which may lag imageName_ during an alert
    QString imageName_;
    QString toolTip_;
    std::optional<ToolTipFigures> figures_;
};

} // namespace bw::qt
