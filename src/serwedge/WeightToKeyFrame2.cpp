#include "serwedge/WeightToKeyFrame2.h"

#include "props/Props.h"
#include "rs232/IOException.h"
#include "rs232/SerialPortLocal.h"
#include "serwedge/AutoPortDialog.h"
#include "serwedge/CustomRegExDialog.h"
#include "serwedge/DecimalSeparatorBox.h"
#include "serwedge/Dialogs.h"
#include "serwedge/EventLog.h"
#include "serwedge/FieldVerifierHook.h"
#include "serwedge/IgnoreDialog.h"
#include "serwedge/SettingsTransfer.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/util/FriendlyPortUtil.h"
#include "serwedge/util/JLabelHtml.h"
#include "serwedge/util/OpenHyperlinkInBrowser.h"
#include "serwedge/util/SessionAutostart.h"
#include "serwedge/util/TallyraBundle.h"
#include "serwedge/util/UpdateCheckStart.h"
#include "serwedge/util/UpdateWorker.h"
#include "worker/DataLine.h"
#include "worker/KeyInjectorChoice.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QSysInfo>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcWindow, "tallyra.window")

namespace serwedge {

std::atomic<bool> isClosing{false};

using namespace config;
namespace H = config::ConfigHelper;
using Kind = Dialogs::Kind;

namespace {

std::optional<bool>& trayAvailableOverride() {
    static std::optional<bool> available;
    return available;
}

// Fills a choice with the display texts of an enumeration's constants, in their order.
template <class E> void fill(QComboBox* box) {
    for (const E& e : E::values())
        box->addItem(e.toString());
}

WeightToKeyFrame2::ExitHandler& exitHandler() {
    static WeightToKeyFrame2::ExitHandler handler;
    return handler;
}

constexpr int kWindowIconSizes[] = {32, 24, 20, 16};
constexpr int kToolTipMs = 10000;

} // namespace

void WeightToKeyFrame2::setExitHandler(ExitHandler handler) {
    exitHandler() = std::move(handler);
}

void WeightToKeyFrame2::setTrayAvailable(std::optional<bool> available) {
    trayAvailableOverride() = available;
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
    initComponents();

    // 8. The update check (it decides itself whether this start makes one).
    updateWorker_ = util::maybeStartUpdateCheck(config, this);

    // 9. Icons, title, visible.
    setIcons();
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
    if (decimalSeparatorBox)
        decimalSeparatorBox->setConfig(nullptr);
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
    try {
        if (!store_)
            store_ = options_.openStore();
        if (store_->loadConfig(config, portList_, &invalid))
            return true;
        message(QStringLiteral("error.while.loading.settings"),
                text("invalid.setting.found.defaults.used") + invalid.join(QStringLiteral(", ")),
                int(Kind::Error));
        return false;
    } catch (const std::exception& e) {
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

QIcon WeightToKeyFrame2::createImageIcon(const QString& path, const QString& description) {
    QPixmap pixmap(path);
    if (pixmap.isNull()) {
        qCDebug(lcWindow) << "icon" << description << "not found:" << path;
        return {};
    }
    return QIcon(pixmap);
}

void WeightToKeyFrame2::setIcons() {
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
        setWindowIcon(windowIcon);
}

// ---------------------------------------------------------------------------------------------
// Controls

void WeightToKeyFrame2::initComponents() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    tabbedPane = new QTabWidget(central);
    panel1 = buildMainPanel();
    inputPanel = buildInputPanel();
    processingPanel = buildProcessingPanel();
    outputPanel = buildOutputPanel();
    settingsPanel = buildSettingsPanel();
    eventLogPanel = new QWidget;
    {
        auto* l = new QVBoxLayout(eventLogPanel);
        eventLogPane = new EventLog(eventLogPanel);
        eventLogPane->setToolTip(text("WeightToKeyFrame2.eventLogPane.toolTipText"));
        l->addWidget(eventLogPane);
    }
    aboutPanel = buildAboutPanel();
    const std::pair<QWidget*, const char*> pages[] = {
        {panel1, "WeightToKeyFrame2.panel1.tab.title"},
        {inputPanel, "WeightToKeyFrame2.inputPanel.tab.title"},
        {processingPanel, "WeightToKeyFrame2.processingPanel.tab.title"},
        {outputPanel, "WeightToKeyFrame2.outputPanel.tab.title"},
        {settingsPanel, "WeightToKeyFrame2.settingsPanel.tab.title"},
        {eventLogPanel, "WeightToKeyFrame2.eventLogPanel.tab.title"},
        {aboutPanel, "WeightToKeyFrame2.aboutPanel.tab.title"}};
    for (const auto& [page, key] : pages)
        tabbedPane->addTab(page, text(key));
    layout->addWidget(tabbedPane, 1);

    statusJLabel = new QLabel(text("WeightToKeyFrame2.statusJLabel.text"), central);
    statusJLabel->setToolTip(text("WeightToKeyFrame2.statusJLabel.toolTipText"));
    util::JLabelHtml::makeLinkable(statusJLabel);
    layout->addWidget(statusJLabel);
    setCentralWidget(central);

    selectConfigInControls();
    currentTab_ = tabbedPane->currentWidget();
    connect(tabbedPane, &QTabWidget::currentChanged, this,
            [this](int index) { tabbedPaneStateChanged(index); });
    updateMainPanel();
}

namespace {

// A label with a mnemonic for its control, and the control's tooltip.
void addRow(QFormLayout* form, const QString& label, QWidget* control, const QString& tip) {
    auto* l = new QLabel(label);
    l->setBuddy(control);
    control->setToolTip(tip);
    form->addRow(l, control);
}

} // namespace

QWidget* WeightToKeyFrame2::buildMainPanel() {
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    startStopJButton = new QPushButton(panel);
    startStopJButton->setToolTip(text("WeightToKeyFrame2.startStopJButton.toolTipText"));
    QFont big = startStopJButton->font();
    big.setPointSizeF(big.pointSizeF() * 2.0);
    big.setBold(true);
    startStopJButton->setFont(big);
    startStopJButton->setIconSize(QSize(48, 48));
    startStopJButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    startStopJButton->setMinimumHeight(startStopJButton->fontMetrics().height() * 4);
    connect(startStopJButton, &QPushButton::clicked, this,
            [this] { startStopJButtonActionPerformed(); });
    grid->addWidget(startStopJButton, 0, 0, 3, 1);

    auto* form = new QFormLayout;
    portValueLabel = new QLabel(panel);
    portValueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    instrumentValueLabel = new QLabel(panel);
    instrumentValueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(text("WeightToKeyFrame2.portLabel.text").remove(QLatin1Char('&')), portValueLabel);
    form->addRow(text("WeightToKeyFrame2.deviceLabel.text"), instrumentValueLabel);
    grid->addLayout(form, 0, 1);
    nextStepLabel = new QLabel(panel);
    nextStepLabel->setWordWrap(true);
    grid->addWidget(nextStepLabel, 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    return panel;
}

QWidget* WeightToKeyFrame2::buildInputPanel() {
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    outer->addLayout(form);

    portList = new QComboBox(panel);
    portList->setEditable(true); // a port the system does not list can be typed
    portList->setMinimumContentsLength(20);
    portList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fillPortChoice();
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(portList, 1);
    refreshPortsButton = new QPushButton(text("WeightToKeyFrame2.refreshPortsButton.text"), panel);
    refreshPortsButton->setToolTip(text("WeightToKeyFrame2.refreshPortsButton.toolTipText"));
    autoButton = new QPushButton(text("WeightToKeyFrame2.autoButton.text"), panel);
    autoButton->setToolTip(text("WeightToKeyFrame2.autoButton.toolTipText"));
    portRow->addWidget(refreshPortsButton);
    portRow->addWidget(autoButton);
    {
        auto* l = new QLabel(text("WeightToKeyFrame2.portLabel.text"));
        l->setBuddy(portList);
        portList->setToolTip(text("WeightToKeyFrame2.portList.toolTipText"));
        form->addRow(l, portRow);
    }

    instrumentBox = new QComboBox(panel);
    {
        // Text presets are set in italics through the item's font; their toString() carries
        // the same as markup, which a list entry would show literally.
        QFont italic = instrumentBox->font();
        italic.setItalic(true);
        for (const H::Instrument& i : H::Instrument::values()) {
            instrumentBox->addItem(i.toPlainString());
            if (i.getInstrumentType() == H::InstrumentType::TEXT)
                instrumentBox->setItemData(instrumentBox->count() - 1, italic, Qt::FontRole);
        }
    }
    auto* instrumentRow = new QHBoxLayout;
    instrumentRow->addWidget(instrumentBox, 1);
    defaultButton = new QPushButton(text("WeightToKeyFrame2.defaultButton.text"), panel);
    defaultButton->setToolTip(text("WeightToKeyFrame2.defaultButton.toolTipText"));
    customizeButton = new QPushButton(text("WeightToKeyFrame2.customizeButton.text"), panel);
    customizeButton->setToolTip(text("WeightToKeyFrame2.customizeButton.toolTipText"));
    instrumentRow->addWidget(defaultButton);
    instrumentRow->addWidget(customizeButton);
    {
        auto* l = new QLabel(text("WeightToKeyFrame2.instrumentLabel.text"));
        l->setBuddy(instrumentBox);
        instrumentBox->setToolTip(text("WeightToKeyFrame2.instrumentBox.toolTipText"));
        form->addRow(l, instrumentRow);
    }

    bitRateBox = new QComboBox(panel);
    fill<H::BitRates>(bitRateBox);
    addRow(form, text("WeightToKeyFrame2.bitRateLabel.text"), bitRateBox,
           text("WeightToKeyFrame2.bitRateBox.toolTipText"));
    dataBitsBox = new QComboBox(panel);
    fill<H::DataBits>(dataBitsBox);
    addRow(form, text("WeightToKeyFrame2.dataBitsLabel.text"), dataBitsBox,
           text("WeightToKeyFrame2.dataBitsBox.toolTipText"));
    stopBitsBox = new QComboBox(panel);
    fill<H::StopBits>(stopBitsBox);
    addRow(form, text("WeightToKeyFrame2.stopBitsLabel.text"), stopBitsBox,
           text("WeightToKeyFrame2.stopBitsBox.toolTipText"));
    parityBox = new QComboBox(panel);
    fill<H::Parity>(parityBox);
    addRow(form, text("WeightToKeyFrame2.parityLabel.text"), parityBox,
           text("WeightToKeyFrame2.parityBox.toolTipText"));
    inputTerminatorBox = new QComboBox(panel);
    inputTerminatorBox->setEditable(true);
    inputTerminatorBox->setInsertPolicy(QComboBox::NoInsert);
    fill<H::InputTerminator>(inputTerminatorBox);
    addRow(form, text("WeightToKeyFrame2.inputTerminatorLabel.text"), inputTerminatorBox,
           text("WeightToKeyFrame2.inputTerminatorBox.toolTipText"));
    outer->addStretch(1);
    return panel;
}

QWidget* WeightToKeyFrame2::buildProcessingPanel() {
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    mathOperationBox = new QComboBox(panel);
    fill<H::MathOperation>(mathOperationBox);
    addRow(form, text("WeightToKeyFrame2.mathOperationLabel.text"), mathOperationBox,
           text("WeightToKeyFrame2.mathOperationBox.toolTipText"));
    mathOperandTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.mathOperandLabel.text"), mathOperandTextField,
           text("WeightToKeyFrame2.mathOperandTextField.toolTipText"));
    decimalTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.decimalLabel.text"), decimalTextField,
           text("WeightToKeyFrame2.decimalTextField.toolTipText"));
    roundingMethodBox = new QComboBox(panel);
    fill<H::RoundingMethod>(roundingMethodBox);
    addRow(form, text("WeightToKeyFrame2.roundingMethodLabel.text"), roundingMethodBox,
           text("WeightToKeyFrame2.roundingMethodBox.toolTipText"));
    editOperationComboBox = new QComboBox(panel);
    fill<H::EditOperation>(editOperationComboBox);
    addRow(form, text("WeightToKeyFrame2.editOperationLabel.text"), editOperationComboBox,
           text("WeightToKeyFrame2.editOperationComboBox.toolTipText"));
    editPositionComboBox = new QComboBox(panel);
    fill<H::EditPosition>(editPositionComboBox);
    addRow(form, text("WeightToKeyFrame2.editPositionLabel.text"), editPositionComboBox,
           text("WeightToKeyFrame2.editPositionComboBox.toolTipText"));
    editNumCharactersTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.editNumCharactersLabel.text"), editNumCharactersTextField,
           text("WeightToKeyFrame2.editNumCharactersTextField.toolTipText"));
    removeCharactersTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.removeCharactersLabel.text"), removeCharactersTextField,
           text("WeightToKeyFrame2.removeCharactersTextField.toolTipText"));
    auto* ignoreRow = new QHBoxLayout;
    ignoreDuplicatesCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.ignoreDuplicatesCheckBox.text"), panel);
    ignoreDuplicatesCheckBox->setToolTip(
        text("WeightToKeyFrame2.ignoreDuplicatesCheckBox.toolTipText"));
    adjustIgnoreButton = new QPushButton(text("WeightToKeyFrame2.adjustIgnoreButton.text"), panel);
    adjustIgnoreButton->setToolTip(text("WeightToKeyFrame2.adjustIgnoreButton.toolTipText"));
    ignoreRow->addWidget(ignoreDuplicatesCheckBox);
    ignoreRow->addWidget(adjustIgnoreButton);
    ignoreRow->addStretch(1);
    form->addRow(ignoreRow);
    outer->addStretch(1);
    return panel;
}

QWidget* WeightToKeyFrame2::buildOutputPanel() {
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    decimalSeparatorBox = new DecimalSeparatorBox(config, panel);
    addRow(form, text("WeightToKeyFrame2.decimalSeparatorLabel.text"), decimalSeparatorBox,
           text("WeightToKeyFrame2.decimalSeparatorBox.toolTipText"));
    outputTerminatorBox = new QComboBox(panel);
    fill<H::OutputTerminator>(outputTerminatorBox);
    addRow(form, text("WeightToKeyFrame2.outputTerminatorLabel.text"), outputTerminatorBox,
           text("WeightToKeyFrame2.outputTerminatorBox.toolTipText"));
    soundComboBox = new QComboBox(panel);
    fill<H::Sound>(soundComboBox);
    addRow(form, text("WeightToKeyFrame2.soundLabel.text"), soundComboBox,
           text("WeightToKeyFrame2.soundComboBox.toolTipText"));
    keyboardTypeBox = new QComboBox(panel);
    fill<H::KeyboardType>(keyboardTypeBox);
    addRow(form, text("WeightToKeyFrame2.keyboardTypeLabel.text"), keyboardTypeBox,
           text("WeightToKeyFrame2.keyboardTypeBox.toolTipText"));
    startWithBox = new QComboBox(panel);
    fill<H::StartWith>(startWithBox);
    addRow(form, text("WeightToKeyFrame2.startWithLabel.text"), startWithBox,
           text("WeightToKeyFrame2.startWithBox.toolTipText"));
    delayTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.delayLabel.text"), delayTextField,
           text("WeightToKeyFrame2.delayTextField.toolTipText"));
    outputTerminatorBox2 = new QComboBox(panel);
    fill<H::OutputTerminator>(outputTerminatorBox2);
    addRow(form, text("WeightToKeyFrame2.outputTerminator2Label.text"), outputTerminatorBox2,
           text("WeightToKeyFrame2.outputTerminatorBox2.toolTipText"));
    everyXValuesTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.everyXValuesLabel.text"), everyXValuesTextField,
           text("WeightToKeyFrame2.everyXValuesTextField.toolTipText"));
    outer->addStretch(1);
    return panel;
}

QWidget* WeightToKeyFrame2::buildSettingsPanel() {
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);

    auto* connectBox = new QGroupBox(text("WeightToKeyFrame2.connectLabel.text"), panel);
    auto* connectLayout = new QVBoxLayout(connectBox);
    manualConnectButton =
        new QRadioButton(text("WeightToKeyFrame2.manualConnectButton.text"), connectBox);
    manualConnectButton->setToolTip(text("WeightToKeyFrame2.manualConnectButton.toolTipText"));
    autoConnectButton =
        new QRadioButton(text("WeightToKeyFrame2.autoConnectButton.text"), connectBox);
    autoConnectButton->setToolTip(text("WeightToKeyFrame2.autoConnectButton.toolTipText"));
    connectButtonGroup = new QButtonGroup(this);
    connectButtonGroup->addButton(manualConnectButton);
    connectButtonGroup->addButton(autoConnectButton);
    connectLayout->addWidget(manualConnectButton);
    connectLayout->addWidget(autoConnectButton);
    abortAutoStartCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.abortAutoStartCheckBox.text"), connectBox);
    abortAutoStartCheckBox->setToolTip(
        text("WeightToKeyFrame2.abortAutoStartCheckBox.toolTipText"));
    connectLayout->addWidget(abortAutoStartCheckBox);
    outer->addWidget(connectBox);

    auto* form = new QFormLayout;
    minimizeToTrayCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.minimizeToTrayCheckBox.text"), panel);
    minimizeToTrayCheckBox->setToolTip(
        text("WeightToKeyFrame2.minimizeToTrayCheckBox.toolTipText"));
    form->addRow(minimizeToTrayCheckBox);
    notifyWhenMinimizedToTrayCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.text"), panel);
    notifyWhenMinimizedToTrayCheckBox->setToolTip(
        text("WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.toolTipText"));
    form->addRow(notifyWhenMinimizedToTrayCheckBox);
    checkForUpdatesCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.checkForUpdatesCheckBox.text"), panel);
    checkForUpdatesCheckBox->setToolTip(
        text("WeightToKeyFrame2.checkForUpdatesCheckBox.toolTipText"));
    form->addRow(text("WeightToKeyFrame2.updatesLabel.text"), checkForUpdatesCheckBox);
    // Desktop sessions with XDG autostart entries; Windows starts programs otherwise.
    if (QSysInfo::kernelType() != QLatin1String("winnt")) {
        startWithSessionCheckBox =
            new QCheckBox(text("WeightToKeyFrame2.startWithSessionCheckBox.text"), panel);
        startWithSessionCheckBox->setToolTip(
            text("WeightToKeyFrame2.startWithSessionCheckBox.toolTipText"));
        form->addRow(startWithSessionCheckBox);
    }
    outer->addLayout(form);

    auto* files = new QHBoxLayout;
    importSettingsButton =
        new QPushButton(text("WeightToKeyFrame2.importSettingsButton.text"), panel);
    importSettingsButton->setToolTip(text("WeightToKeyFrame2.importSettingsButton.toolTipText"));
    exportSettingsButton =
        new QPushButton(text("WeightToKeyFrame2.exportSettingsButton.text"), panel);
    exportSettingsButton->setToolTip(text("WeightToKeyFrame2.exportSettingsButton.toolTipText"));
    files->addWidget(importSettingsButton);
    files->addWidget(exportSettingsButton);
    files->addStretch(1);
    outer->addLayout(files);
    outer->addStretch(1);
    return panel;
}

QWidget* WeightToKeyFrame2::buildAboutPanel() {
    auto* panel = new QWidget;
    auto* l = new QVBoxLayout(panel);
    aboutPane = new QTextBrowser(panel);
    aboutPane->setOpenLinks(false);
    aboutPane->setHtml(util::JLabelHtml::htmlIfy(
        text("WeightToKeyFrame2.aboutPane.text") + QStringLiteral("<p>Version ") +
        QString::fromStdString(props::get("VERSION", props::kVersion)) + QStringLiteral("</p>")));
    connect(aboutPane, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { util::OpenHyperlinkInBrowser::open(this, url.toString()); });
    l->addWidget(aboutPane);
    return panel;
}

void WeightToKeyFrame2::fillPortChoice() {
    const QSignalBlocker block(portList);
    portList->clear();
    for (const QString& name : portList_)
        portList->addItem(QString::fromStdString(
            util::FriendlyPortUtil::getFriendlyPortName(name.toStdString())));
}

// Selects the record's values in the controls and connects the handlers afterwards, so that
// building the window changes nothing.
void WeightToKeyFrame2::selectConfigInControls() {
    const QString friendly = QString::fromStdString(
        util::FriendlyPortUtil::getFriendlyPortName(config.getPort().toStdString()));
    const int portIndex = portList->findText(friendly);
    if (portIndex >= 0)
        portList->setCurrentIndex(portIndex);
    else if (portList->count() > 0)
        portList->setCurrentIndex(0); // the stored port is no longer offered
    else
        portList->setEditText(config.getPort());
    instrumentBox->setCurrentIndex(
        config.getInstrument().value_or(H::Instrument::getDefault()).ordinal());
    bitRateBox->setCurrentIndex(config.getBitRate());
    dataBitsBox->setCurrentIndex(config.getDataBits());
    stopBitsBox->setCurrentIndex(config.getStopBits());
    parityBox->setCurrentIndex(config.getParity());
    selectTerminator(config.getInputTerminator());
    mathOperationBox->setCurrentIndex(config.getMathOperation().ordinal());
    mathOperandTextField->setText(config.getMathOperand());
    decimalTextField->setText(config.getDecimalPlaces());
    roundingMethodBox->setCurrentIndex(config.getRoundingMethod().ordinal());
    editOperationComboBox->setCurrentIndex(config.getEditOperation().ordinal());
    editPositionComboBox->setCurrentIndex(config.getEditPosition().ordinal());
    editNumCharactersTextField->setText(config.getEditNumCharacters());
    removeCharactersTextField->setText(config.getRemoveCharacters());
    ignoreDuplicatesCheckBox->setChecked(config.ignoreDuplicates);
    decimalSeparatorBox->setSelectedSeparator(config.getDecimalSeparator());
    outputTerminatorBox->setCurrentIndex(config.getOutputTerminator().ordinal());
    soundComboBox->setCurrentIndex(config.getSound().ordinal());
    keyboardTypeBox->setCurrentIndex(config.getKeyboardType().ordinal());
    startWithBox->setCurrentIndex(config.getStartWith().ordinal());
    delayTextField->setText(config.getDelay());
    outputTerminatorBox2->setCurrentIndex(config.getOutputTerminator2().ordinal());
    everyXValuesTextField->setText(config.getEveryXValues());
    (config.getConnect() == H::Connect::AUTO ? autoConnectButton : manualConnectButton)
        ->setChecked(true);
    minimizeToTrayCheckBox->setChecked(config.minimizeToTray);
    notifyWhenMinimizedToTrayCheckBox->setChecked(config.notifyWhenMinimizedToTray);
    checkForUpdatesCheckBox->setChecked(config.checkForUpdates);
    abortAutoStartCheckBox->setChecked(config.abortAutoStartWhenPrevPortNotAvailable);
    if (startWithSessionCheckBox)
        startWithSessionCheckBox->setChecked(util::SessionAutostart().isEnabled());

    auto onIndex = [this](QComboBox* box, void (WeightToKeyFrame2::*handler)()) {
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, handler] { (this->*handler)(); });
    };
    auto onToggle = [this](QAbstractButton* b, void (WeightToKeyFrame2::*handler)()) {
        connect(b, &QAbstractButton::toggled, this, [this, handler] { (this->*handler)(); });
    };
    onIndex(portList, &WeightToKeyFrame2::portListItemStateChanged);
    connect(portList->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { portListItemStateChanged(); });
    onIndex(instrumentBox, &WeightToKeyFrame2::instrumentBoxItemStateChanged);
    onIndex(bitRateBox, &WeightToKeyFrame2::bitRateBoxItemStateChanged);
    onIndex(dataBitsBox, &WeightToKeyFrame2::dataBitsBoxItemStateChanged);
    onIndex(stopBitsBox, &WeightToKeyFrame2::stopBitsBoxItemStateChanged);
    onIndex(parityBox, &WeightToKeyFrame2::parityBoxItemStateChanged);
    connect(inputTerminatorBox, &QComboBox::activated, this,
            [this] { inputTerminatorBoxItemStateChanged(); });
    connect(inputTerminatorBox->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { inputTerminatorBoxItemStateChanged(); });
    connect(autoButton, &QPushButton::clicked, this, [this] { autoButtonActionPerformed(); });
    connect(defaultButton, &QPushButton::clicked, this, [this] { defaultButtonActionPerformed(); });
    connect(refreshPortsButton, &QPushButton::clicked, this,
            [this] { refreshPortsButtonActionPerformed(); });
    connect(customizeButton, &QPushButton::clicked, this,
            [this] { customizeButtonActionPerformed(); });
    connect(adjustIgnoreButton, &QPushButton::clicked, this,
            [this] { adjustIgnoreButtonActionPerformed(); });
    connect(importSettingsButton, &QPushButton::clicked, this,
            [this] { importSettingsButtonActionPerformed(); });
    connect(exportSettingsButton, &QPushButton::clicked, this,
            [this] { exportSettingsButtonActionPerformed(); });
    onIndex(mathOperationBox, &WeightToKeyFrame2::mathOperationBoxItemStateChanged);
    installVerifier(mathOperandTextField, VerifiedField::MathOperand);
    installVerifier(decimalTextField, VerifiedField::DecimalPlaces);
    onIndex(roundingMethodBox, &WeightToKeyFrame2::roundingMethodBoxItemStateChanged);
    onIndex(editOperationComboBox, &WeightToKeyFrame2::editOperationComboBoxItemStateChanged);
    onIndex(editPositionComboBox, &WeightToKeyFrame2::editPositionComboBoxItemStateChanged);
    installVerifier(editNumCharactersTextField, VerifiedField::EditNumCharacters);
    installVerifier(removeCharactersTextField, VerifiedField::RemoveCharacters);
    onToggle(ignoreDuplicatesCheckBox, &WeightToKeyFrame2::ignoreDuplicatesCheckBoxActionPerformed);
    onIndex(decimalSeparatorBox, &WeightToKeyFrame2::decimalSeparatorBoxItemStateChanged);
    onIndex(outputTerminatorBox, &WeightToKeyFrame2::outputTerminatorBoxItemStateChanged);
    onIndex(soundComboBox, &WeightToKeyFrame2::soundComboBoxItemStateChanged);
    onIndex(keyboardTypeBox, &WeightToKeyFrame2::keyboardTypeBoxItemStateChanged);
    onIndex(startWithBox, &WeightToKeyFrame2::startWithBoxItemStateChanged);
    installVerifier(delayTextField, VerifiedField::Delay);
    onIndex(outputTerminatorBox2, &WeightToKeyFrame2::outputTerminatorBox2ItemStateChanged);
    installVerifier(everyXValuesTextField, VerifiedField::EveryXValues);
    connect(connectButtonGroup, &QButtonGroup::buttonClicked, this,
            [this] { connectButtonActionPerformed(); });
    onToggle(minimizeToTrayCheckBox, &WeightToKeyFrame2::minimizeToTrayCheckBoxItemStateChanged);
    onToggle(notifyWhenMinimizedToTrayCheckBox,
             &WeightToKeyFrame2::notifyWhenMinimizedToTrayCheckBoxItemStateChanged);
    onToggle(checkForUpdatesCheckBox, &WeightToKeyFrame2::checkForUpdatesCheckBoxItemStateChanged);
    onToggle(abortAutoStartCheckBox, &WeightToKeyFrame2::abortAutoStartCheckBoxItemStateChanged);
    if (startWithSessionCheckBox)
        connect(startWithSessionCheckBox, &QCheckBox::clicked, this,
                [this] { startWithSessionCheckBoxActionPerformed(); });
}

// ---- handlers ----

void WeightToKeyFrame2::portListItemStateChanged() {
    config.setPort(QString::fromStdString(
        util::FriendlyPortUtil::getUnfriendlyPortName(portList->currentText().toStdString())));
    updateMainPanel();
}

void WeightToKeyFrame2::instrumentBoxItemStateChanged() {
    const int i = instrumentBox->currentIndex();
    if (i < 0)
        return;
    const H::Instrument selected(static_cast<H::Instrument::Value>(i));
    const bool changed = config.getInstrument() != selected;
    config.setInstrument(selected);
    if (changed && !config.getCustomRegEx().isEmpty() && !isClosing) {
        // The question must not sit under the list's open pop-up.
        instrumentBox->hidePopup();
        if (Dialogs::current().question(this, text("confirm"),
                                        text("overwrite.custom.regular.expression")))
            config.setCustomRegEx(QString());
    }
    updateMainPanel();
}

void WeightToKeyFrame2::bitRateBoxItemStateChanged() {
    config.setBitRate(bitRateBox->currentIndex());
}
void WeightToKeyFrame2::dataBitsBoxItemStateChanged() {
    config.setDataBits(dataBitsBox->currentIndex());
}
void WeightToKeyFrame2::stopBitsBoxItemStateChanged() {
    config.setStopBits(stopBitsBox->currentIndex());
}
void WeightToKeyFrame2::parityBoxItemStateChanged() {
    config.setParity(parityBox->currentIndex());
}

bool WeightToKeyFrame2::inputTerminatorBoxItemStateChanged() {
    if (const auto value = checkInputTerminator(inputTerminatorBox->currentText().trimmed())) {
        config.setInputTerminator(*value);
        return true;
    }
    if (!isClosing) {
        message(QStringLiteral("error"), text(kInputTerminatorMessageKey), int(Kind::Error));
        if (tabbedPane->indexOf(inputPanel) >= 0)
            tabbedPane->setCurrentWidget(inputPanel);
    }
    selectTerminator(config.getInputTerminator());
    return false;
}

// Selects the offered entry of a byte value, or shows the bare number when none has it.
void WeightToKeyFrame2::selectTerminator(int value) {
    const QSignalBlocker block(inputTerminatorBox);
    const QString entry = H::InputTerminator::selectionText(value);
    const int i = inputTerminatorBox->findText(entry);
    if (i >= 0)
        inputTerminatorBox->setCurrentIndex(i);
    inputTerminatorBox->setEditText(entry);
}

void WeightToKeyFrame2::autoButtonActionPerformed() {
    auto* dialog = new AutoPortDialog(this, portList_, [this](const QString& portText) {
        const int i = portList->findText(portText);
        if (i >= 0)
            portList->setCurrentIndex(i);
        else
            portList->setEditText(portText);
        portListItemStateChanged();
    });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void WeightToKeyFrame2::defaultButtonActionPerformed() {
    const int i = instrumentBox->currentIndex();
    if (i < 0) {
        // No preset is selected, so there is nothing to take the line settings from.
        message(QStringLiteral("error"), text("no.default.values.available.for.this.device"),
                int(Kind::Error));
        return;
    }
    const H::Instrument instrument(static_cast<H::Instrument::Value>(i));
    if (const auto note = instrument.getDefaultMessage())
        message(QStringLiteral("info.title"), *note, int(Kind::Information));
    // The record follows the lists through their handlers.
    const Config line = instrument.getDefaultConfig();
    bitRateBox->setCurrentIndex(line.getBitRate());
    dataBitsBox->setCurrentIndex(line.getDataBits());
    stopBitsBox->setCurrentIndex(line.getStopBits());
    parityBox->setCurrentIndex(line.getParity());
    selectTerminator(line.getInputTerminator());
    inputTerminatorBoxItemStateChanged();
}

void WeightToKeyFrame2::customizeButtonActionPerformed() {
    // Window-modal without a nested event loop; the result is copied when it is accepted.
    auto* dialog = new CustomRegExDialog(this, config, Dialogs::prompts());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { config.setCustomRegEx(dialog->getCustomRegEx()); });
    dialog->open();
}

void WeightToKeyFrame2::adjustIgnoreButtonActionPerformed() {
    auto* dialog = new IgnoreDialog(this, config.getIgnoreTimeLimit(), config.getIgnoreDifference(),
                                    Dialogs::prompts());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        config.setIgnoreTimeLimit(dialog->getIgnoreTimeLimit());
        config.setIgnoreDifference(dialog->getIgnoreDifference());
    });
    dialog->open();
}

void WeightToKeyFrame2::exportSettingsButtonActionPerformed() {
    try {
        if (!store_)
            store_ = options_.openStore();
    } catch (const std::exception& e) {
        message(QStringLiteral("error"), text("export.failed") + QString::fromUtf8(e.what()),
                int(Kind::Error));
        return;
    }
    SettingsTransfer transfer(*store_, Dialogs::prompts(),
                              {[this] {
                                   updateConfigFromTabs();
                                   saveConfig();
                               },
                               {}},
                              this);
    transfer.exportSettings();
}

void WeightToKeyFrame2::importSettingsButtonActionPerformed() {
    try {
        if (!store_)
            store_ = options_.openStore();
    } catch (const std::exception& e) {
        message(QStringLiteral("error"), text("import.failed") + QString::fromUtf8(e.what()),
                int(Kind::Error));
        return;
    }
    SettingsTransfer transfer(*store_, Dialogs::prompts(),
                              {{},
                               [this](int status) {
                                   // Nothing is saved from here on: the next start loads what
                                   // was imported.
                                   exitStatus_ = status;
                                   isClosing = true;
                                   if (exitHandler())
                                       exitHandler()(status);
                                   else
                                       QCoreApplication::exit(status);
                               }},
                              this);
    transfer.importSettings();
}

void WeightToKeyFrame2::refreshPortsButtonActionPerformed() {
    if (portFromCommandLine_)
        return; // the command line fixed the port for this run
    const QString selected = portList->currentText();
    listPorts();
    fillPortChoice();
    const int i = portList->findText(selected);
    if (i >= 0)
        portList->setCurrentIndex(i);
    portListItemStateChanged();
}

void WeightToKeyFrame2::mathOperationBoxItemStateChanged() {
    config.setMathOperation(H::MathOperation(
        static_cast<H::MathOperation::Value>(std::max(0, mathOperationBox->currentIndex()))));
}
void WeightToKeyFrame2::roundingMethodBoxItemStateChanged() {
    config.setRoundingMethod(H::RoundingMethod(
        static_cast<H::RoundingMethod::Value>(std::max(0, roundingMethodBox->currentIndex()))));
}
void WeightToKeyFrame2::editOperationComboBoxItemStateChanged() {
    config.setEditOperation(H::EditOperation(
        static_cast<H::EditOperation::Value>(std::max(0, editOperationComboBox->currentIndex()))));
}
void WeightToKeyFrame2::editPositionComboBoxItemStateChanged() {
    config.setEditPosition(H::EditPosition(
        static_cast<H::EditPosition::Value>(std::max(0, editPositionComboBox->currentIndex()))));
}
void WeightToKeyFrame2::ignoreDuplicatesCheckBoxActionPerformed() {
    config.ignoreDuplicates = ignoreDuplicatesCheckBox->isChecked();
}
void WeightToKeyFrame2::decimalSeparatorBoxItemStateChanged() {
    config.setDecimalSeparator(decimalSeparatorBox->selectedSeparator());
}
void WeightToKeyFrame2::outputTerminatorBoxItemStateChanged() {
    config.setOutputTerminator(H::OutputTerminator(
        static_cast<H::OutputTerminator::Value>(std::max(0, outputTerminatorBox->currentIndex()))));
}
void WeightToKeyFrame2::soundComboBoxItemStateChanged() {
    config.setSound(
        H::Sound(static_cast<H::Sound::Value>(std::max(0, soundComboBox->currentIndex()))));
}

void WeightToKeyFrame2::keyboardTypeBoxItemStateChanged() {
    const H::KeyboardType type(
        static_cast<H::KeyboardType::Value>(std::max(0, keyboardTypeBox->currentIndex())));
    config.setKeyboardType(type);
    bool ok = false;
    const int delay = delayTextField->text().toInt(&ok, 10);
    // ALT codes need a little time between keys to be taken by every application.
    if (type == H::KeyboardType::ALL && ok && delay < 3) {
        keyboardTypeBox->hidePopup();
        if (!isClosing)
            message(QStringLiteral("info"), text("info.delay.keyboard.all"),
                    int(Kind::Information));
        delayTextField->setText(QStringLiteral("3"));
        config.setDelay(QStringLiteral("3"));
    }
}

void WeightToKeyFrame2::startWithBoxItemStateChanged() {
    config.setStartWith(
        H::StartWith(static_cast<H::StartWith::Value>(std::max(0, startWithBox->currentIndex()))));
}
void WeightToKeyFrame2::outputTerminatorBox2ItemStateChanged() {
    config.setOutputTerminator2(H::OutputTerminator(static_cast<H::OutputTerminator::Value>(
        std::max(0, outputTerminatorBox2->currentIndex()))));
}

void WeightToKeyFrame2::connectButtonActionPerformed() {
    const bool automatic = autoConnectButton->isChecked();
    config.setConnect(automatic ? H::Connect::AUTO : H::Connect::MANUAL);
    if (!automatic)
        removeMinimizeToTraySupport();
}

void WeightToKeyFrame2::minimizeToTrayCheckBoxItemStateChanged() {
    config.minimizeToTray = minimizeToTrayCheckBox->isChecked();
}
void WeightToKeyFrame2::notifyWhenMinimizedToTrayCheckBoxItemStateChanged() {
    config.notifyWhenMinimizedToTray = notifyWhenMinimizedToTrayCheckBox->isChecked();
}
void WeightToKeyFrame2::checkForUpdatesCheckBoxItemStateChanged() {
    config.checkForUpdates = checkForUpdatesCheckBox->isChecked();
}
void WeightToKeyFrame2::abortAutoStartCheckBoxItemStateChanged() {
    config.abortAutoStartWhenPrevPortNotAvailable = abortAutoStartCheckBox->isChecked();
}

void WeightToKeyFrame2::installVerifier(QLineEdit* field, VerifiedField which) {
    const auto setter = fieldVerifier(which).setter;
    FieldVerifierHook::install(field, which, Dialogs::prompts(),
                               {[this, setter](const QString& t) { (config.*setter)(t); },
                                [] { return isClosing.load(); },
                                [this, field] { selectTabOf(field); }});
}

void WeightToKeyFrame2::selectTabOf(QWidget* control) {
    for (int i = 0; i < tabbedPane->count(); ++i) {
        if (tabbedPane->widget(i)->isAncestorOf(control)) {
            tabbedPane->setCurrentIndex(i);
            return;
        }
    }
}

void WeightToKeyFrame2::startWithSessionCheckBoxActionPerformed() {
    const bool on = startWithSessionCheckBox->isChecked();
    QStringList command{QCoreApplication::applicationFilePath()};
    if (options_.backend == prefs::SettingsStore::Backend::SharedFile)
        command << QStringLiteral("--shared");
    QString error;
    if (util::SessionAutostart().setEnabled(on, command, error))
        return;
    message(QStringLiteral("error"), text("autostart.change.failed") + error, int(Kind::Error));
    // The box shows what the desktop will do.
    const QSignalBlocker block(startWithSessionCheckBox);
    startWithSessionCheckBox->setChecked(util::SessionAutostart().isEnabled());
}

bool WeightToKeyFrame2::verifyField(QLineEdit* field) {
    FieldVerifierHook* hook = FieldVerifierHook::of(field);
    return hook && hook->verify();
}

bool WeightToKeyFrame2::verifyMathOperand() {
    return verifyField(mathOperandTextField);
}
bool WeightToKeyFrame2::verifyDecimalPlaces() {
    return verifyField(decimalTextField);
}
bool WeightToKeyFrame2::verifyEditNumCharacters() {
    return verifyField(editNumCharactersTextField);
}
bool WeightToKeyFrame2::verifyRemoveCharacters() {
    return verifyField(removeCharactersTextField);
}
bool WeightToKeyFrame2::verifyEveryXValues() {
    return verifyField(everyXValuesTextField);
}
bool WeightToKeyFrame2::verifyDelay() {
    return verifyField(delayTextField);
}

void WeightToKeyFrame2::updateConfigFromTabs() {
    // Refusals below may select a tab again; that change is not a tab left by the user.
    const bool nested = updatingFromTabs_;
    updatingFromTabs_ = true;

    portListItemStateChanged();
    instrumentBoxItemStateChanged();
    bitRateBoxItemStateChanged();
    dataBitsBoxItemStateChanged();
    stopBitsBoxItemStateChanged();
    parityBoxItemStateChanged();
    inputTerminatorBoxItemStateChanged();
    connectButtonActionPerformed();
    keyboardTypeBoxItemStateChanged();
    if (!H::Delay::valid(delayTextField->text())) {
        if (!isClosing)
            message(QStringLiteral("error"), text("error.intercharacter.delay"), int(Kind::Error));
        delayTextField->setText(H::Delay::getDefault());
    }
    decimalSeparatorBoxItemStateChanged();
    startWithBoxItemStateChanged();
    outputTerminatorBoxItemStateChanged();
    outputTerminatorBox2ItemStateChanged();
    verifyMathOperand();
    verifyDecimalPlaces();
    verifyEditNumCharacters();
    verifyRemoveCharacters();
    verifyEveryXValues();
    verifyDelay();
    mathOperationBoxItemStateChanged();
    roundingMethodBoxItemStateChanged();
    soundComboBoxItemStateChanged();
    editOperationComboBoxItemStateChanged();
    editPositionComboBoxItemStateChanged();
    // An operation without an operand does nothing: show it as none.
    if (config.getMathOperation() != H::MathOperation::NONE &&
        mathOperandTextField->text().trimmed().isEmpty()) {
        mathOperationBox->setCurrentIndex(H::MathOperation::NONE);
        mathOperationBoxItemStateChanged();
    }
    // A division needs rounding; the division itself stays selected.
    if (config.getMathOperation() == H::MathOperation::DIVIDE &&
        decimalTextField->text().trimmed().isEmpty())
        queueDivisionReminder();
    ignoreDuplicatesCheckBoxActionPerformed();
    minimizeToTrayCheckBoxItemStateChanged();
    notifyWhenMinimizedToTrayCheckBoxItemStateChanged();
    checkForUpdatesCheckBoxItemStateChanged();
    abortAutoStartCheckBoxItemStateChanged();

    updatingFromTabs_ = nested;
}

void WeightToKeyFrame2::queueDivisionReminder() {
    if (mathRoundingErrorWarningDisplayed || isClosing)
        return;
    mathRoundingErrorWarningDisplayed = true;
    QTimer::singleShot(0, this, [this] {
        if (!isClosing) {
            if (tabbedPane->indexOf(processingPanel) >= 0)
                tabbedPane->setCurrentWidget(processingPanel);
            decimalTextField->setFocus(Qt::OtherFocusReason);
            message(QStringLiteral("error"),
                    text("please.enter.number.of.decimal.places.for.rounding.or.disable.division"),
                    int(Kind::Warning));
        }
        mathRoundingErrorWarningDisplayed = false;
    });
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

void WeightToKeyFrame2::setConnectedInGUI(bool running) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, running] { setConnectedInGUI(running); }, Qt::QueuedConnection);
        return;
    }
    QWidget* const settingsTabs[] = {inputPanel, processingPanel, outputPanel, settingsPanel};
    if (running) {
        // Settings cannot change while the port is open.
        for (QWidget* page : settingsTabs) {
            const int i = tabbedPane->indexOf(page);
            if (i >= 0)
                tabbedPane->removeTab(i);
        }
        showStatus(text("switch.to.target.application"));
    } else {
        const std::pair<QWidget*, const char*> restore[] = {
            {settingsPanel, "WeightToKeyFrame2.settingsPanel.tab.title"},
            {outputPanel, "WeightToKeyFrame2.outputPanel.tab.title"},
            {processingPanel, "WeightToKeyFrame2.processingPanel.tab.title"},
            {inputPanel, "WeightToKeyFrame2.inputPanel.tab.title"}};
        for (const auto& [page, key] : restore) {
            if (tabbedPane->indexOf(page) < 0)
                tabbedPane->insertTab(1, page, text(key));
        }
        showStatus(text("WeightToKeyFrame2.statusJLabel.text"));
        // A run that ended by itself (the port failed) leaves its outputs behind; the worker
        // goes once its completion, which reports this, has returned.
        run_.stop();
        QTimer::singleShot(0, this, [this] { run_.releaseFinishedWorker(); });
    }
    connectedGUI = running;
    updateMainPanel();
}

void WeightToKeyFrame2::updateMainPanel() {
    if (!startStopJButton)
        return;
    startStopJButton->setText(text(connectedGUI ? "WeightToKeyFrame2.startStopJButton.textStop"
                                                : "WeightToKeyFrame2.startStopJButton.text"));
    startStopJButton->setIcon(
        style()->standardIcon(connectedGUI ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
    nextStepLabel->setText(text(connectedGUI ? "WeightToKeyFrame2.nextStep.running"
                                             : "WeightToKeyFrame2.nextStep.idle"));
    portValueLabel->setText(config.getPort());
    instrumentValueLabel->setText(
        config.getInstrument().value_or(H::Instrument::getDefault()).toPlainString());
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

void WeightToKeyFrame2::showStatus(const QString& t) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, t] { showStatus(t); }, Qt::QueuedConnection);
        return;
    }
    if (statusJLabel)
        statusJLabel->setText(t);
}

QString WeightToKeyFrame2::statusText() const {
    return statusJLabel ? statusJLabel->text() : QString();
}

// ---------------------------------------------------------------------------------------------
// Automatic save, closing, tray

bool WeightToKeyFrame2::isSettingsTab(QWidget* page) const {
    return page && (page == inputPanel || page == processingPanel || page == outputPanel ||
                    page == aboutPanel);
}

void WeightToKeyFrame2::tabbedPaneStateChanged(int index) {
    QWidget* previous = currentTab_;
    currentTabIndex = index;
    currentTab_ = tabbedPane->widget(index);
    if (!isSettingsTab(previous) || previous == currentTab_ || updatingFromTabs_)
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
    if (trayIcon)
        trayIcon->hide();
    event->accept();
}

bool WeightToKeyFrame2::trayIconShown() const {
    return trayIcon && trayIcon->isVisible();
}

void WeightToKeyFrame2::addMinimizeToTraySupport() {
    const bool available =
        trayAvailableOverride().value_or(QSystemTrayIcon::isSystemTrayAvailable());
    if (!available)
        return;
    if (!trayIcon) {
        trayIcon = new QSystemTrayIcon(this);
        trayIcon->setToolTip(QStringLiteral("Tallyra"));
        const int width = style()->pixelMetric(QStyle::PM_SmallIconSize);
        trayIcon->setIcon(width <= 16   ? icon16_
                          : width <= 20 ? icon20_
                          : width <= 24 ? icon24_
                                        : icon32_);
        connect(trayIcon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::DoubleClick) {
                        show();
                        setWindowState(windowState() & ~Qt::WindowMinimized);
                        activateWindow();
                    }
                });
    }
    trayListener_ = true;
}

void WeightToKeyFrame2::removeMinimizeToTraySupport() {
    trayListener_ = false;
}

void WeightToKeyFrame2::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !trayListener_ || !trayIcon)
        return;
    if (windowState() & Qt::WindowMinimized) {
        trayIcon->show();
        QTimer::singleShot(0, this, [this] { hide(); });
        if (config.notifyWhenMinimizedToTray)
            trayIcon->showMessage(QStringLiteral("Tallyra"), text("minimized.to.system.tray"),
                                  QSystemTrayIcon::Information);
    } else {
        trayIcon->hide();
        show();
    }
}

} // namespace serwedge
