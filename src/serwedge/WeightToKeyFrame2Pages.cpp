// The window's own pages (the main tab with the Start/Stop button, the event log, the about
// pane), the status line, and the switch between the idle and the running face.

#include "serwedge/WeightToKeyFrame2.h"

#include "props/Props.h"
#include "serwedge/EventLog.h"
#include "serwedge/GlobalShortcut.h"
#include "serwedge/OutputsPanel.h"
#include "serwedge/SettingsTabs.h"
#include "serwedge/TrayBehaviour.h"
#include "serwedge/util/FriendlyPortUtil.h"
#include "serwedge/util/JLabelHtml.h"
#include "serwedge/util/OpenHyperlinkInBrowser.h"
#include "serwedge/util/TallyraBundle.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace serwedge {

namespace H = config::ConfigHelper;

void WeightToKeyFrame2::initComponents() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    tabbedPane = new QTabWidget(central);
    // The window is as wide as every tab title needs, in German too: no title hides behind
    // scroll arrows.
    tabbedPane->setUsesScrollButtons(false);
    panel1 = buildMainPanel();
    settingsTabs_ = new SettingsTabs(config, settingsHost());
    const SettingsTabs& t = *settingsTabs_;
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
        {t.inputPanel, "WeightToKeyFrame2.inputPanel.tab.title"},
        {t.processingPanel, "WeightToKeyFrame2.processingPanel.tab.title"},
        {t.outputPanel, "WeightToKeyFrame2.outputPanel.tab.title"},
        {t.settingsPanel, "WeightToKeyFrame2.settingsPanel.tab.title"},
        {t.journalMqttPanel, "WeightToKeyFrame2.journalMqttPanel.tab.title"},
        {eventLogPanel, "WeightToKeyFrame2.eventLogPanel.tab.title"},
        {aboutPanel, "WeightToKeyFrame2.aboutPanel.tab.title"}};
    for (const auto& [page, key] : pages)
        tabbedPane->addTab(page, text(key));
    layout->addWidget(tabbedPane, 1);

    statusJLabel = new QLabel(text("WeightToKeyFrame2.statusJLabel.text"), central);
    statusJLabel->setToolTip(text("WeightToKeyFrame2.statusJLabel.toolTipText"));
    util::JLabelHtml::makeLinkable(statusJLabel);
    // The broker's state, at the right of the status line while a run publishes.
    outputStatusLabel = new QLabel(central);
    outputStatusLabel->setTextFormat(Qt::PlainText);
    outputStatusLabel->setToolTip(text("WeightToKeyFrame2.outputStatusLabel.toolTipText"));
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(statusJLabel, 1);
    statusRow->addWidget(outputStatusLabel);
    layout->addLayout(statusRow);
    setCentralWidget(central);

    settingsTabs_->show(config);
    currentTab_ = tabbedPane->currentWidget();
    connect(tabbedPane, &QTabWidget::currentChanged, this,
            [this](int index) { tabbedPaneStateChanged(index); });
    updateMainPanel();
}

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

    // While reading, where the instrument takes commands.
    auto* commands = new QHBoxLayout;
    const std::pair<QPushButton**, const char*> buttons[] = {
        {&requestJButton, "WeightToKeyFrame2.requestJButton"},
        {&tareJButton, "WeightToKeyFrame2.tareJButton"},
        {&zeroJButton, "WeightToKeyFrame2.zeroJButton"}};
    for (const auto& [button, name] : buttons) {
        *button = new QPushButton(text((std::string(name) + ".text").c_str()), panel);
        (*button)->setToolTip(text((std::string(name) + ".toolTipText").c_str()));
        (*button)->setVisible(false);
        commands->addWidget(*button);
    }
    commands->addStretch(1);
    grid->addLayout(commands, 2, 1);
    connect(requestJButton, &QPushButton::clicked, this,
            [this] { requestJButtonActionPerformed(); });
    connect(tareJButton, &QPushButton::clicked, this, [this] { tareJButtonActionPerformed(); });
    connect(zeroJButton, &QPushButton::clicked, this, [this] { zeroJButtonActionPerformed(); });
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
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

void WeightToKeyFrame2::setConnectedInGUI(bool running) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, running] { setConnectedInGUI(running); }, Qt::QueuedConnection);
        return;
    }
    const SettingsTabs& t = *settingsTabs_;
    QWidget* const settingsTabs[] = {t.inputPanel, t.processingPanel, t.outputPanel,
                                     t.settingsPanel, t.journalMqttPanel};
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
            {t.journalMqttPanel, "WeightToKeyFrame2.journalMqttPanel.tab.title"},
            {t.settingsPanel, "WeightToKeyFrame2.settingsPanel.tab.title"},
            {t.outputPanel, "WeightToKeyFrame2.outputPanel.tab.title"},
            {t.processingPanel, "WeightToKeyFrame2.processingPanel.tab.title"},
            {t.inputPanel, "WeightToKeyFrame2.inputPanel.tab.title"}};
        for (const auto& [page, key] : restore) {
            if (tabbedPane->indexOf(page) < 0)
                tabbedPane->insertTab(1, page, text(key));
        }
        showStatus(text("WeightToKeyFrame2.statusJLabel.text"));
        keyPermission_.clear();
        portWaiting_.clear();
        if (tray_)
            tray_->setStatus({});
        shortcut_.reset();
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
    // While the desktop waits for the user to allow typing, that is the next step; while the
    // port is away, bringing it back is.
    nextStepLabel->setText(!keyPermission_.isEmpty() ? keyPermission_
                           : !connectedGUI           ? text("WeightToKeyFrame2.nextStep.idle")
                           : !portWaiting_.isEmpty() ? text("WeightToKeyFrame2.nextStep.waiting")
                                                     : text("WeightToKeyFrame2.nextStep.running"));
    // The settings cannot change while reading: the record is the run's.
    const H::Instrument instrument = config.getInstrument().value_or(H::Instrument::getDefault());
    requestJButton->setVisible(connectedGUI &&
                               config.getRequestMode() == H::RequestMode::ON_DEMAND &&
                               !config.getRequestCommand().isEmpty());
    tareJButton->setVisible(connectedGUI && !instrument.getTareCommand().isEmpty());
    zeroJButton->setVisible(connectedGUI && !instrument.getZeroCommand().isEmpty());
    portValueLabel->setText(config.getPort());
    instrumentValueLabel->setText(
        config.getInstrument().value_or(H::Instrument::getDefault()).toPlainString());
}

void WeightToKeyFrame2::showStatus(const QString& t) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, t] { showStatus(t); }, Qt::QueuedConnection);
        return;
    }
    if (statusJLabel)
        util::JLabelHtml::setText(statusJLabel, t);
}

void WeightToKeyFrame2::showPortWaiting(const QString& t) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, t] { showPortWaiting(t); }, Qt::QueuedConnection);
        return;
    }
    if (!connectedGUI)
        return; // the run has ended meanwhile
    portWaiting_ = t;
    // The port box shows what answers to the name now, which may be another adapter.
    if (t.isEmpty())
        util::FriendlyPortUtil::refreshFriendlyPortName(config.getPort().trimmed().toStdString());
    showStatus(t.isEmpty() ? text("switch.to.target.application") : t);
    if (tray_)
        tray_->setStatus(t);
    updateMainPanel();
}

QString WeightToKeyFrame2::nextStepText() const {
    return nextStepLabel ? nextStepLabel->text() : QString();
}

void WeightToKeyFrame2::requestJButtonActionPerformed() {
    sendToInstrument(worker::WeightWorker::Command::Request);
}

void WeightToKeyFrame2::tareJButtonActionPerformed() {
    sendToInstrument(worker::WeightWorker::Command::Tare);
}

void WeightToKeyFrame2::zeroJButtonActionPerformed() {
    sendToInstrument(worker::WeightWorker::Command::Zero);
}

void WeightToKeyFrame2::sendToInstrument(worker::WeightWorker::Command command) {
    // The reading thread writes it; a write the port does not take is logged there.
    if (connectedGUI && run_.worker())
        run_.worker()->sendCommand(command);
}

void WeightToKeyFrame2::offerGlobalShortcut() {
    shortcut_.reset();
    if (config.getRequestMode() != H::RequestMode::ON_DEMAND ||
        config.getRequestCommand().isEmpty())
        return;
    const char* refusal = nullptr;
    shortcut_ = GlobalShortcut::create([this] { requestJButtonActionPerformed(); }, refusal);
    if (shortcut_)
        logEvent(tallyraBundle().format("shortcut.ready", {GlobalShortcut::keyText()}));
    else
        logEvent(tallyraBundle().format(refusal, {GlobalShortcut::keyText()}));
}

void WeightToKeyFrame2::setOutputStatus(const QString& t) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, t] { setOutputStatus(t); }, Qt::QueuedConnection);
        return;
    }
    if (outputStatusLabel)
        outputStatusLabel->setText(t);
}

QString WeightToKeyFrame2::statusText() const {
    return statusJLabel ? statusJLabel->text() : QString();
}

} // namespace serwedge
