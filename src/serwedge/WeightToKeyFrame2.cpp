#include "serwedge/WeightToKeyFrame2.h"

#include "rs232/IOException.h"
#include "rs232/SerialPortLocal.h"
#include "serwedge/DecimalSeparatorBox.h"
#include "serwedge/Dialogs.h"
#include "serwedge/EventLog.h"
#include "serwedge/GlobalShortcut.h"
#include "serwedge/OutputsPanel.h"
#include "serwedge/SettingsTabs.h"
#include "serwedge/TrayBehaviour.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/util/FriendlyPortUtil.h"
#include "serwedge/util/TallyraBundle.h"
#include "serwedge/util/UpdateCheckStart.h"
#include "serwedge/util/UpdateWorker.h"
#include "worker/DataLine.h"
#include "worker/KeyInjectorChoice.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLoggingCategory>
#include <QTabWidget>
#include <QTimer>

Q_LOGGING_CATEGORY(lcWindow, "tallyra.window")

namespace serwedge {

std::atomic<bool> isClosing{false};

using namespace config;
namespace H = config::ConfigHelper;
using Kind = Dialogs::Kind;

namespace {

WeightToKeyFrame2::ExitHandler& exitHandler() {
    static WeightToKeyFrame2::ExitHandler handler;
    return handler;
}

constexpr int kToolTipMs = 10000;

} // namespace

void WeightToKeyFrame2::setExitHandler(ExitHandler handler) {
    exitHandler() = std::move(handler);
}

void WeightToKeyFrame2::setTrayAvailable(std::optional<bool> available) {
    TrayBehaviour::setAvailable(available);
}

QIcon WeightToKeyFrame2::createImageIcon(const QString& path, const QString& description) {
    return TrayBehaviour::createImageIcon(path, description);
}

QString WeightToKeyFrame2::text(const char* key) const {
    return tallyraBundle().getString(key);
}

void WeightToKeyFrame2::message(const QString& titleKey, const QString& body, int kind) {
    Dialogs::current().message(this, tallyraBundle().getString(titleKey), body,
                               static_cast<Kind>(kind));
}

// ---------------------------------------------------------------------------------------------
// Construction

WeightToKeyFrame2::WeightToKeyFrame2(Options options) : options_(std::move(options)) {
    if (!options_.openStore) {
        const auto backend = options_.backend;
        options_.openStore = [backend] { return prefs::SettingsStore::open(backend); };
    }
    if (!options_.libraryLoaded)
        options_.libraryLoaded = [] { return rs232::SerialPortLocal::isLibraryLoaded(); };

    // 1. The record starts empty; the catalogue is the window catalogue.
    currentTabIndex = 0;

    // 2. Every key the window uses must resolve, or the program files are damaged.
    if (!checkResourceBundles(options_.checkedCatalogue ? *options_.checkedCatalogue
                                                        : tallyraBundle())) {
        exitStatus_ = 4;
        return;
    }

    // 3. The ports: the one named on the command line, or the system's.
    if (!options_.args.isEmpty() && !options_.args.first().isEmpty()) {
        portList_ = {options_.args.first()};
        portFromCommandLine_ = true;
    } else if (!listPorts()) {
        exitStatus_ = 2;
        return;
    }

    // 4. The settings.
    loadConfig();

    // 5. The command line's port wins; the demo device is preselected.
    if (portFromCommandLine_)
        config.setPort(portList_.first());
    else if (!options_.preselectPort.isEmpty())
        config.setPort(options_.preselectPort);

    // 6. The copy that tells whether the settings have changed.
    oldConfig = std::make_unique<prefs::SaveNecessity>(config);

    // 7. The controls.
    tray_ = new TrayBehaviour(this, [this] { return config.notifyWhenMinimizedToTray; });
    initComponents();

    // 8. The update check (it decides itself whether this start makes one).
    updateWorker_ = util::maybeStartUpdateCheck(config, this);

    // 9. Icons, title, visible.
    tray_->setIcons();
    setWindowTitle(QStringLiteral("Brindle Tallyra"));
    if (options_.show)
        show();

    // 10. Tooltips stay long enough to be read.
    for (QWidget* w : findChildren<QWidget*>())
        w->setToolTipDuration(kToolTipMs);

    // 11. The record holds exactly what the controls show.
    updateConfigFromTabs();

    // 12. Tray.
    if (config.minimizeToTray)
        addMinimizeToTraySupport();

    // 13. Automatic start.
    autoStart();
}

WeightToKeyFrame2::~WeightToKeyFrame2() {
    // The separator box listens to the record, which goes before the box's own destruction.
    if (settingsTabs_)
        settingsTabs_->decimalSeparatorBox->setConfig(nullptr);
    run_.shutdown();
    updateWorker_.reset();
}

bool WeightToKeyFrame2::checkResourceBundles(const Catalogue& catalogue) {
    if (catalogue.missingKeys(Catalogue::language()).isEmpty())
        return true;
    // Untranslated on purpose: the catalogue itself is what is damaged.
    Dialogs::current().message(this, QStringLiteral("Fatal error"),
                               QStringLiteral("Program files seem to be damaged or missing!\n"
                                              "Try downloading and reinstalling the program."),
                               Kind::Error);
    return false;
}

bool WeightToKeyFrame2::listPorts() {
    portList_.clear();
    if (!options_.libraryLoaded()) {
        const std::string os = rs232::SerialPortLocal::getOsName();
        const std::string arch = rs232::SerialPortLocal::getOsArch();
        const QString system = os.empty() || arch.empty() ? QString()
                                                          : QStringLiteral(" (%1 %2)")
                                                                .arg(QString::fromStdString(os),
                                                                     QString::fromStdString(arch));
        message(QStringLiteral("fatal.error"),
                text("library.serdrvwin.not.found.or.not.matching.your.system") + system +
                    text("program.will.now.exit"),
                int(Kind::Error));
        return false;
    }
    try {
        for (const std::string& name : rs232::SerialPortLocal::getPortList())
            portList_ << QString::fromStdString(name);
        try {
            util::FriendlyPortUtil::update();
        } catch (const rs232::IOException&) {
            // No driver records on this platform or for this listing: plain names are shown.
        }
        if (portList_.isEmpty()) {
            message(QStringLiteral("error"),
                    text("no.rs.232.port.found.on.your.system.program.will.now.exit"),
                    int(Kind::Error));
        } else if (portList_.contains(QString())) {
            message(QStringLiteral("error"), text("error.listing.available.ports"),
                    int(Kind::Error));
            portList_.removeAll(QString());
        }
    } catch (const rs232::IOException& e) {
        message(QStringLiteral("error"),
                text("error.listing.available.ports") + QString::fromUtf8(e.what()),
                int(Kind::Error));
    }
    return true;
}

bool WeightToKeyFrame2::loadConfig() {
    QStringList invalid;
    // A damaged store found while opening is kept aside; the user hears of it here.
    QStringList notices;
    prefs::setNoticeSink([&notices](const QString& text) { notices.append(text); });
    struct Restore {
        ~Restore() { prefs::setNoticeSink({}); }
    } restore;
    const auto showNotices = [&] {
        for (const QString& notice : notices)
            message(QStringLiteral("warning"), notice, int(Kind::Warning));
        notices.clear();
    };
    try {
        if (!store_)
            store_ = options_.openStore();
        showNotices();
        if (store_->loadConfig(config, portList_, &invalid))
            return true;
        message(QStringLiteral("error.while.loading.settings"),
                text("invalid.setting.found.defaults.used") + invalid.join(QStringLiteral(", ")),
                int(Kind::Error));
        return false;
    } catch (const std::exception& e) {
        showNotices();
        // The defaults of every setting, as an empty store gives them.
        prefs::MemoryPreferences empty;
        prefs::SettingsStore(empty).loadConfig(config, portList_);
        const bool denied = dynamic_cast<const prefs::AccessDeniedError*>(&e) != nullptr;
        message(QStringLiteral("error.while.loading.settings"),
                text(denied ? "access.error.while.loading.settings" : "error.reading.settings") +
                    QString::fromUtf8(e.what()),
                int(Kind::Error));
        return false;
    }
}

void WeightToKeyFrame2::saveConfig() {
    if (!store_)
        store_ = options_.openStore();
    store_->saveConfig(config);
}

// ---------------------------------------------------------------------------------------------
// The settings tabs

SettingsTabs::Host WeightToKeyFrame2::settingsHost() {
    SettingsTabs::Host host;
    host.window = this;
    host.tabs = tabbedPane;
    host.ports = &portList_;
    host.listPortsAgain = [this] { return !portFromCommandLine_ && listPorts(); };
    host.selectionChanged = [this] { updateMainPanel(); };
    host.manualConnectTaken = [this] { removeMinimizeToTraySupport(); };
    host.autostartCommand = QStringList{QCoreApplication::applicationFilePath()};
    if (options_.backend == prefs::SettingsStore::Backend::SharedFile)
        host.autostartCommand << QStringLiteral("--shared");
    host.store = [this]() -> prefs::SettingsStore& {
        if (!store_)
            store_ = options_.openStore();
        return *store_;
    };
    host.transfer.saveCurrent = [this] {
        updateConfigFromTabs();
        saveConfig();
    };
    host.transfer.exit = [this](int status) {
        // Nothing is saved from here on: the next start loads what was imported.
        exitStatus_ = status;
        isClosing = true;
        if (exitHandler())
            exitHandler()(status);
        else
            QCoreApplication::exit(status);
    };
    return host;
}

void WeightToKeyFrame2::updateConfigFromTabs() {
    settingsTabs_->copyTo(config);
}

// ---------------------------------------------------------------------------------------------
// Start and stop

void WeightToKeyFrame2::autoStart() {
    if (config.getConnect() != H::Connect::AUTO)
        return;
    if (config.abortAutoStartWhenPrevPortNotAvailable && !portFromCommandLine_ &&
        config.getPort() != config.getPrevPort()) {
        message(QStringLiteral("error"),
                tallyraBundle().format(
                    "previously.used.port.0.no.longer.available.naborting.auto.start",
                    {config.getPrevPort()}),
                int(Kind::Error));
        return;
    }
    startStopJButtonActionPerformed();
    if (config.minimizeToTray)
        setWindowState(windowState() | Qt::WindowMinimized);
}

void WeightToKeyFrame2::startStopJButtonActionPerformed() {
    if (connectedGUI)
        stopPipeline();
    else
        startPipeline();
}

void WeightToKeyFrame2::startPipeline() {
    if (run_.isReading())
        return; // the previous run is still ending
    updateConfigFromTabs();
    worker::ReadingRun::Options run;
    run.injector = options_.injectorFactory;
    if (!run.injector) {
        // The desktop portal tells on its own thread what the user must allow, and when it
        // refuses.
        worker::KeyInjectorHooks hooks;
        hooks.status = [this](const QString& t) {
            QMetaObject::invokeMethod(
                this,
                [this, t] {
                    keyPermission_ = t;
                    updateMainPanel();
                    if (!t.isEmpty())
                        showStatus(t);
                    else if (connectedGUI)
                        showStatus(text("switch.to.target.application"));
                },
                Qt::QueuedConnection);
        };
        hooks.important = [this](const QString& t) { logImportantEvent(t); };
        run.injector = [hooks] { return worker::createSessionKeyInjector(hooks); };
    }
    run.player = options_.playerFactory;
    if (run_.start(config, this, std::move(run),
                   [this](const worker::ReadingRun::Failure& f) { showStartFailure(f); }))
        return;

    const H::Instrument instrument = config.getInstrument().value_or(H::Instrument::getDefault());
    logEvent(text("WeightToKeyFrame2.deviceLabel.text") + QLatin1Char(' ') +
             instrument.toPlainString());
    if (!config.getCustomRegEx().isEmpty())
        logEvent(QStringLiteral("Custom regEx: ") + config.getCustomRegEx());
    logEvent(text("keyboard.output.started.type") + QLatin1Char(' ') +
             config.getKeyboardType().toString());
    offerGlobalShortcut();
}

void WeightToKeyFrame2::showStartFailure(const worker::ReadingRun::Failure& failure) {
    using Stage = worker::ReadingRun::Stage;
    switch (failure.stage) {
    case Stage::KeyboardOutput:
        message(QStringLiteral("error"),
                text("error.initializing.keyboard.output") + failure.message, int(Kind::Error));
        break;
    case Stage::CapsLock:
        message(QStringLiteral("warning"), text("please.turn.off.caps.lock"), int(Kind::Warning));
        break;
    case Stage::SoundOutput:
        message(QStringLiteral("sound.output.error"),
                text("error.while.initializing.sound.output") + failure.message, int(Kind::Error));
        break;
    case Stage::Setting:
        message(QStringLiteral("error"), text("invalid.setting") + failure.message,
                int(Kind::Error));
        break;
    case Stage::Port:
        message(QStringLiteral("error"), text("error.opening.port") + failure.message,
                int(Kind::Error));
        break;
    }
}

void WeightToKeyFrame2::stopPipeline() {
    run_.stop();
    // The worker's completion switches the window back to idle.
}

// ---------------------------------------------------------------------------------------------
// The worker's view

void WeightToKeyFrame2::logEvent(const QString& t) {
    if (eventLogPane)
        eventLogPane->logEvent(t);
}

void WeightToKeyFrame2::logImportantEvent(const QString& t) {
    if (eventLogPane)
        eventLogPane->logImportantEvent(t);
}

// The run has filtered and sounded the line; it types the value after this.
void WeightToKeyFrame2::update(const worker::DataLine& line) {
    eventLogPane->displayLine(line);
    showStatus(text("line.count") + QString::number(line.getCount()));
}

void WeightToKeyFrame2::showWarning(const QString& title, const QString& body) {
    Dialogs::current().message(this, title, body, Kind::Warning);
}

// ---------------------------------------------------------------------------------------------
// Automatic save, closing, tray

bool WeightToKeyFrame2::isSettingsTab(QWidget* page) const {
    const SettingsTabs& t = *settingsTabs_;
    return page && (page == t.inputPanel || page == t.processingPanel || page == t.outputPanel ||
                    page == t.journalMqttPanel || page == aboutPanel);
}

void WeightToKeyFrame2::tabbedPaneStateChanged(int index) {
    QWidget* previous = currentTab_;
    currentTabIndex = index;
    currentTab_ = tabbedPane->widget(index);
    if (!isSettingsTab(previous) || previous == currentTab_ || settingsTabs_->isCopying())
        return;
    updateConfigFromTabs();
    if (!oldConfig->isSaveNecessary(config))
        return;
    try {
        saveConfig();
    } catch (const std::exception& e) {
        logEvent(text("autosave.error") + QString::fromUtf8(e.what()));
    }
}

void WeightToKeyFrame2::closeEvent(QCloseEvent* event) {
    isClosing = true;
    updateConfigFromTabs();
    try {
        saveConfig();
    } catch (const prefs::AccessDeniedError& e) {
        message(QStringLiteral("error"),
                text("access.error.while.saving.settings") + QString::fromUtf8(e.what()),
                int(Kind::Error));
    } catch (const std::exception& e) {
        qCWarning(lcWindow) << "saving the settings failed:" << e.what();
    }
    run_.shutdown();
    tray_->hideIcon();
    event->accept();
}

bool WeightToKeyFrame2::trayIconShown() const {
    return tray_->iconShown();
}

bool WeightToKeyFrame2::traySupportInstalled() const {
    return tray_->installed();
}

QString WeightToKeyFrame2::trayToolTip() const {
    return tray_->toolTip();
}

void WeightToKeyFrame2::addMinimizeToTraySupport() {
    tray_->install();
}

void WeightToKeyFrame2::removeMinimizeToTraySupport() {
    tray_->remove();
}

} // namespace serwedge
