#include "serwedge/TrayBehaviour.h"

#include "serwedge/util/TallyraBundle.h"

#include <QEvent>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QPixmap>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

Q_LOGGING_CATEGORY(lcTray, "tallyra.tray")

namespace serwedge {

namespace {

std::optional<bool>& availableOverride() {
    static std::optional<bool> available;
    return available;
}

constexpr int kWindowIconSizes[] = {32, 24, 20, 16};

} // namespace

TrayBehaviour::TrayBehaviour(QMainWindow* window, std::function<bool()> notify)
    : QObject(window), window_(window), notify_(std::move(notify)) {
    window_->installEventFilter(this);
}

void TrayBehaviour::setAvailable(std::optional<bool> available) {
    availableOverride() = available;
}

QIcon TrayBehaviour::createImageIcon(const QString& path, const QString& description) {
    QPixmap pixmap(path);
    if (pixmap.isNull()) {
        qCDebug(lcTray) << "icon" << description << "not found:" << path;
        return {};
    }
    return QIcon(pixmap);
}

void TrayBehaviour::setIcons() {
    QIcon windowIcon;
    for (int size : kWindowIconSizes) {
        const QIcon icon = createImageIcon(QStringLiteral(":/icons/Tallyra%1.png").arg(size),
                                           QStringLiteral("Tallyra"));
        if (icon.isNull())
            continue; // a missing image is skipped
        windowIcon.addPixmap(icon.pixmap(size, size));
        (size == 16 ? icon16_ : size == 20 ? icon20_ : size == 24 ? icon24_ : icon32_) = icon;
    }
    if (!windowIcon.isNull())
        window_->setWindowIcon(windowIcon);
}

bool TrayBehaviour::iconShown() const {
    return trayIcon_ && trayIcon_->isVisible();
}

void TrayBehaviour::install() {
    if (!availableOverride().value_or(QSystemTrayIcon::isSystemTrayAvailable()))
        return;
    if (!trayIcon_) {
        trayIcon_ = new QSystemTrayIcon(this);
        trayIcon_->setToolTip(toolTip());
        const int width = window_->style()->pixelMetric(QStyle::PM_SmallIconSize);
        trayIcon_->setIcon(width <= 16   ? icon16_
                           : width <= 20 ? icon20_
                           : width <= 24 ? icon24_
                                         : icon32_);
        connect(trayIcon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::DoubleClick) {
                        window_->show();
                        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
                        window_->activateWindow();
                    }
                });
    }
    installed_ = true;
}

void TrayBehaviour::remove() {
    installed_ = false;
}

void TrayBehaviour::setStatus(const QString& status) {
    status_ = status;
    if (trayIcon_)
        trayIcon_->setToolTip(toolTip());
}

QString TrayBehaviour::toolTip() const {
    return status_.isEmpty() ? QStringLiteral("Tallyra") : QStringLiteral("Tallyra\n") + status_;
}

void TrayBehaviour::hideIcon() {
    if (trayIcon_)
        trayIcon_->hide();
}

bool TrayBehaviour::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::WindowStateChange)
        windowStateChanged();
    return false;
}

void TrayBehaviour::windowStateChanged() {
    if (!installed_ || !trayIcon_)
        return;
    if (window_->windowState() & Qt::WindowMinimized) {
        trayIcon_->show();
        QTimer::singleShot(0, window_, [this] { window_->hide(); });
        if (notify_ && notify_())
            trayIcon_->showMessage(QStringLiteral("Tallyra"),
                                   tallyraBundle().getString("minimized.to.system.tray"),
                                   QSystemTrayIcon::Information);
    } else {
        trayIcon_->hide();
        window_->show();
    }
}

} // namespace serwedge
