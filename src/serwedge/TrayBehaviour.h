#pragma once

#include <QIcon>
#include <QObject>

#include <functional>
#include <optional>

class QMainWindow;
class QSystemTrayIcon;

namespace serwedge {

// The window's icons and its life in the notification area: once installed, minimising the
// window hides it behind a tray icon (with a notice when asked for), restoring it or a double
// click on the icon brings it back.
class TrayBehaviour : public QObject {
public:
    // `notify` is read at each minimising: whether the tray icon announces it.
    TrayBehaviour(QMainWindow* window, std::function<bool()> notify);

    // Whether a notification area exists; the platform's answer unless replaced.
    static void setAvailable(std::optional<bool> available);
    // The image at the path, or a null icon (reported, not raised) when it is missing.
    static QIcon createImageIcon(const QString& path, const QString& description);

    // Loads the four window icons and sets them on the window.
    void setIcons();
    // Installs the minimising behaviour; nothing happens without a notification area.
    void install();
    void remove();
    bool installed() const { return installed_; }
    bool iconShown() const;
    // Takes the icon out of the notification area (closing).
    void hideIcon();
    // A line under the program's name in the icon's tooltip; empty: the name alone.
    void setStatus(const QString& status);
    QString toolTip() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void windowStateChanged();

    QMainWindow* window_;
    std::function<bool()> notify_;
    QIcon icon16_, icon20_, icon24_, icon32_;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QString status_;
    bool installed_ = false;
};

} // namespace serwedge
