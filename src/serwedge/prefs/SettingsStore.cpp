#include "serwedge/prefs/SettingsStore.h"

#include "props/Props.h"
#include "serwedge/prefs/FilePreferences.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/prefs/QSettingsPreferences.h"
#include "serwedge/prefs/SettingRules.h"

#include "config/ConfigBundle.h"

#include <QFile>

namespace serwedge::prefs {

using namespace config;
namespace H = config::ConfigHelper;

QString sharedPreferencesFile() {
    QString base = qEnvironmentVariable("ProgramData");
    if (base.isEmpty()) {
        base = QStringLiteral("/var/lib");
    }
    return base + QLatin1String(kSharedFileSuffix);
}

SettingsStore SettingsStore::open(Backend backend) {
    if (backend == Backend::SharedFile) {
        props::set(props::kPrefsFileProperty, sharedPreferencesFile().toStdString());
        return SettingsStore(FilePreferencesFactory::instance().userRoot());
    }
    return SettingsStore(QSettingsPreferences::userRoot());
}

SettingsStore::SettingsStore(Preferences& root) : node_(&root.node(QLatin1String(kNodePath))) {}

namespace {

// Loaded texts are always present: the empty text, never a null one.
QString present(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

// Reads one stored value at a time, in the order of the table of keys, and notes the invalid
// ones.
class Loader {
public:
    Loader(Preferences& node, QStringList& invalid) : node_(node), invalid_(invalid) {}

    template <class E, class Set> void named(const char* key, Set set) {
        named<E>(key, set, E::getDefault());
    }

    // def stands for a missing or invalid value.
    template <class E, class Set> void named(const char* key, Set set, E def) {
        const QString text = node_.get(QLatin1String(key), def.name());
        if (auto value = E::valueOf(text)) {
            set(*value);
        } else {
            set(def);
            invalid_.append(QLatin1String(key));
        }
    }

    template <class Rule, class Set> void index(const char* key, Set set) {
        const int value = node_.getInt(QLatin1String(key), Rule::getDefault());
        if (Rule::valid(value)) {
            set(value);
        } else {
            set(Rule::getDefault());
            invalid_.append(QLatin1String(key));
        }
    }

    template <class Rule, class Set> void text(const char* key, Set set) {
        text<Rule>(key, set, Rule::getDefault());
    }

    template <class Rule, class Set> void text(const char* key, Set set, const QString& def) {
        const QString value = present(node_.get(QLatin1String(key), def));
        if (Rule::valid(value)) {
            set(value);
        } else {
            set(present(def));
            invalid_.append(QLatin1String(key));
        }
    }

    bool flag(const char* key, bool def) { return node_.getBoolean(QLatin1String(key), def); }

private:
    Preferences& node_;
    QStringList& invalid_;
};

} // namespace

bool SettingsStore::loadConfig(Config& c, const QStringList& portList, QStringList* invalidKeys) {
    known_.clear();
    for (const QString& key : node_->keys()) {
        known_.insert(key, node_->get(key, QString()));
    }
    QStringList invalid;
    Loader load(*node_, invalid);
    Preferences& n = *node_;

    if (!portList.isEmpty()) {
        c.setPort(n.get(QStringLiteral("port"), portList.front()));
    }
    c.setPrevPort(n.get(QStringLiteral("prevPort"), c.getPort()));
    load.named<H::Instrument>("instrument", [&](H::Instrument v) { c.setInstrument(v); });
    load.index<H::BitRates>("bitRate", [&](int v) { c.setBitRate(v); });
    load.index<H::DataBits>("dataBits", [&](int v) { c.setDataBits(v); });
    load.index<H::StopBits>("stopBits", [&](int v) { c.setStopBits(v); });
    load.index<H::Parity>("parity", [&](int v) { c.setParity(v); });
    load.named<H::DecimalSeparator>("decimalSeparator",
                                    [&](H::DecimalSeparator v) { c.setDecimalSeparator(v); });
    load.index<H::InputTerminator>("inputTerminator", [&](int v) { c.setInputTerminator(v); });
    load.named<H::StartWith>("startWith", [&](H::StartWith v) { c.setStartWith(v); });
    load.named<H::OutputTerminator>("outputTerminator",
                                    [&](H::OutputTerminator v) { c.setOutputTerminator(v); });
    load.named<H::OutputTerminator>("outputTerminator2",
                                    [&](H::OutputTerminator v) { c.setOutputTerminator2(v); });
    load.text<H::EveryXValues>("everyXValues", [&](const QString& v) { c.setEveryXValues(v); });
    load.named<H::Connect>("connect", [&](H::Connect v) { c.setConnect(v); });
    load.text<H::MathOperand>("mathOperand", [&](const QString& v) { c.setMathOperand(v); });
    load.named<H::MathOperation>("mathOperation",
                                 [&](H::MathOperation v) { c.setMathOperation(v); });
    load.text<H::DecimalPlaces>("decimalPlaces", [&](const QString& v) { c.setDecimalPlaces(v); });
    load.named<H::RoundingMethod>("roundingMethod",
                                  [&](H::RoundingMethod v) { c.setRoundingMethod(v); });
    load.named<H::Sound>("sound", [&](H::Sound v) { c.setSound(v); });
    load.named<H::KeyboardType>("keyboardType", [&](H::KeyboardType v) { c.setKeyboardType(v); });
    load.text<H::Delay>("delay", [&](const QString& v) { c.setDelay(v); });
    c.minimizeToTray = load.flag("minimizeToTray", false);
    c.notifyWhenMinimizedToTray = load.flag("notifyWhenMinimizedToTray", false);
    c.checkForUpdates = load.flag("checkForUpdates", true);
    c.abortAutoStartWhenPrevPortNotAvailable =
        load.flag("abortAutoStartWhenPrevPortNotAvailable", false);
    c.ignoreDuplicates = load.flag("ignoreDuplicates", false);
    load.named<H::EditOperation>("editOperation",
                                 [&](H::EditOperation v) { c.setEditOperation(v); });
    load.named<H::EditPosition>("editPosition", [&](H::EditPosition v) { c.setEditPosition(v); });
    load.text<H::EditNumCharacters>("editNumCharacters",
                                    [&](const QString& v) { c.setEditNumCharacters(v); });
    load.text<H::RemoveCharacters>("removeCharacters",
                                   [&](const QString& v) { c.setRemoveCharacters(v); });
    load.text<H::IgnoreTimeLimit>("ignoreTimeLimit",
                                  [&](const QString& v) { c.setIgnoreTimeLimit(v); });
    load.text<H::IgnoreDifference>("ignoreDifference",
                                   [&](const QString& v) { c.setIgnoreDifference(v); });
    load.text<H::CustomRegEx>("customRegEx", [&](const QString& v) { c.setCustomRegEx(v); });
    // Settings written before these keys existed take the preset's request defaults, so that
    // an instrument which was asked on start still is.
    c.stableOnly = load.flag("stableOnly", false);
    Config preset;
    preset.takeRequestDefaultsOf(c.getInstrument().value_or(H::Instrument::getDefault()));
    load.text<H::RequestCommand>(
        "requestCommand", [&](const QString& v) { c.setRequestCommand(v); },
        preset.getRequestCommand());
    load.named<H::RequestMode>(
        "requestMode", [&](H::RequestMode v) { c.setRequestMode(v); }, preset.getRequestMode());
    load.text<H::RequestIntervalMs>("requestIntervalMs",
                                    [&](const QString& v) { c.setRequestIntervalMs(v); });
    c.reconnect = load.flag("reconnect", H::Reconnect::getDefault());

    // The journal and MQTT; stores written before they existed load their defaults.
    namespace R = config::OutputRules;
    OutputSettings& o = c.outputs;
    o.journal = load.flag("journal", false);
    load.text<R::AnyText>("journalFolder", [&](const QString& v) { o.journalFolder = v; });
    load.text<R::JournalDays>("journalDays", [&](const QString& v) { o.journalDays = v; });
    o.mqtt = load.flag("mqtt", false);
    load.text<R::MqttHost>("mqttHost", [&](const QString& v) { o.mqttHost = v; });
    load.text<R::MqttPort>("mqttPort", [&](const QString& v) { o.mqttPort = v; });
    o.mqttTls = load.flag("mqttTls", false);
    load.text<R::AnyText>("mqttCaFile", [&](const QString& v) { o.mqttCaFile = v; });
    load.text<R::AnyText>("mqttUser", [&](const QString& v) { o.mqttUser = v; });
    load.text<R::AnyText>(kPasswordKey, [&](const QString& v) { o.mqttPassword = v; });
    load.text<R::MqttTopic>("mqttTopic", [&](const QString& v) { o.mqttTopic = v; });
    o.mqttRetain = load.flag("mqttRetain", false);

    if (invalidKeys) {
        *invalidKeys = invalid;
    }
    return invalid.isEmpty();
}

std::vector<std::pair<QString, QString>> storedForm(const Config& c) {
    std::vector<std::pair<QString, QString>> out;
    const auto add = [&out](const char* key, const QString& value) {
        out.emplace_back(QLatin1String(key), value);
    };
    const auto flag = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    if (!c.getPort().isEmpty()) {
        // The port of this run is the previous port of the next one.
        add("port", c.getPort());
        add("prevPort", c.getPort());
    }
    if (c.getInstrument()) {
        add("instrument", c.getInstrument()->name());
    }
    add("bitRate", QString::number(c.getBitRate()));
    add("dataBits", QString::number(c.getDataBits()));
    add("stopBits", QString::number(c.getStopBits()));
    add("parity", QString::number(c.getParity()));
    add("inputTerminator", QString::number(c.getInputTerminator()));
    add("decimalSeparator", c.getDecimalSeparator().name());
    add("sound", c.getSound().name());
    add("startWith", c.getStartWith().name());
    add("outputTerminator", c.getOutputTerminator().name());
    add("outputTerminator2", c.getOutputTerminator2().name());
    add("everyXValues", c.getEveryXValues());
    add("connect", c.getConnect().name());
    add("mathOperation", c.getMathOperation().name());
    add("mathOperand", c.getMathOperand());
    add("decimalPlaces", c.getDecimalPlaces());
    add("roundingMethod", c.getRoundingMethod().name());
    add("keyboardType", c.getKeyboardType().name());
    add("delay", c.getDelay());
    add("minimizeToTray", flag(c.minimizeToTray));
    add("notifyWhenMinimizedToTray", flag(c.notifyWhenMinimizedToTray));
    add("checkForUpdates", flag(c.checkForUpdates));
    add("abortAutoStartWhenPrevPortNotAvailable", flag(c.abortAutoStartWhenPrevPortNotAvailable));
    add("ignoreDuplicates", flag(c.ignoreDuplicates));
    add("editOperation", c.getEditOperation().name());
    add("editPosition", c.getEditPosition().name());
    add("editNumCharacters", c.getEditNumCharacters());
    add("removeCharacters", c.getRemoveCharacters());
    add("customRegEx", c.getCustomRegEx());
    add("ignoreTimeLimit", c.getIgnoreTimeLimit());
    add("ignoreDifference", c.getIgnoreDifference());
    add("stableOnly", flag(c.stableOnly));
    add("requestCommand", c.getRequestCommand());
    add("requestMode", c.getRequestMode().name());
    add("requestIntervalMs", c.getRequestIntervalMs());
    add("reconnect", flag(c.reconnect));
    const OutputSettings& o = c.outputs;
    add("journal", flag(o.journal));
    add("journalFolder", o.journalFolder);
    add("journalDays", o.journalDays);
    add("mqtt", flag(o.mqtt));
    add("mqttHost", o.mqttHost);
    add("mqttPort", o.mqttPort);
    add("mqttTls", flag(o.mqttTls));
    add("mqttCaFile", o.mqttCaFile);
    add("mqttUser", o.mqttUser);
    if (!o.mqttPassword.isEmpty()) // no password: no entry at all
        add(kPasswordKey, o.mqttPassword);
    add("mqttTopic", o.mqttTopic);
    add("mqttRetain", flag(o.mqttRetain));
    return out;
}

void SettingsStore::saveConfig(const Config& config) {
    try {
        QList<std::pair<QString, QString>> changed;
        for (const auto& [key, value] : storedForm(config)) {
            const auto it = known_.constFind(key);
            if (it == known_.constEnd() || *it != value) {
                changed.append({key, value});
            }
        }
        // A password that was cleared leaves no entry behind.
        if (config.outputs.mqttPassword.isEmpty() && known_.contains(QLatin1String(kPasswordKey))) {
            node_->remove(QLatin1String(kPasswordKey));
            node_->flush();
            known_.remove(QLatin1String(kPasswordKey));
        }
        if (changed.isEmpty()) {
            return;
        }
        node_->putAll(changed);
        for (const auto& [key, value] : changed) {
            known_.insert(key, value);
        }
    } catch (const BackingStoreError& e) {
        diagnostic(QStringLiteral("saveConfig exception: ") + QString::fromStdString(e.what()));
    } catch (const std::invalid_argument& e) {
        diagnostic(QStringLiteral("saveConfig exception: ") + QString::fromStdString(e.what()));
    }
}

void SettingsStore::exportTo(QIODevice& out) {
    // The broker password stays on this machine: the export is made from a copy without it.
    MemoryPreferences root;
    Preferences& copy = root.node(node_->absolutePath());
    for (const QString& key : node_->keys()) {
        if (key != QLatin1String(kPasswordKey))
            copy.put(key, node_->get(key, QString()));
    }
    exportNode(copy, out);
}

namespace {

// A value as an error message shows it: control characters as their code between "<" and ">",
// and no longer than a line.
QString shownValue(const QString& value) {
    constexpr qsizetype kMaxShown = 100;
    QString shown;
    for (const QChar c : value.left(kMaxShown)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            shown += QStringLiteral("<%1>").arg(int(c.unicode()));
        } else {
            shown += c;
        }
    }
    return value.size() > kMaxShown ? shown + QStringLiteral("...") : shown;
}

} // namespace

QString unknownSettingsText(const QStringList& keys) {
    constexpr qsizetype kMaxListed = 20;
    QStringList shown;
    for (const QString& key : keys.mid(0, kMaxListed)) {
        shown.append(shownValue(key));
    }
    if (keys.size() > kMaxListed) {
        shown.append(QStringLiteral("..."));
    }
    return config::configBundle().format("import.unknown.settings",
                                         {shown.join(QStringLiteral(", "))});
}

ImportResult SettingsStore::importFrom(QIODevice& in) {
    ImportResult result;
    const auto entries =
        readPreferenceEntries(in, QLatin1String(kNodePath), ImportLimits{}, &result.ignored);
    QList<std::pair<QString, QString>> accepted;
    for (const auto& [key, value] : entries) {
        const std::optional<bool> valid = isValidStoredValue(key, value);
        if (!valid) {
            result.unknownKeys.append(key);
        } else if (!*valid) {
            throw InvalidPreferencesFormatError(
                config::configBundle().format("import.invalid.setting", {key, shownValue(value)}));
        } else {
            accepted.append({key, value});
        }
    }
    if (!accepted.isEmpty()) {
        node_->putAll(accepted);
        for (const auto& [key, value] : accepted) {
            known_.insert(key, value);
        }
    }
    result.applied = static_cast<int>(accepted.size());
    node_->sync();
    return result;
}

bool SaveNecessity::isSaveNecessary(const Config& config) {
    if (saveNecessary_) {
        saveNecessary_ = false;
        return true;
    }
    if (Config::hasChanged(config, oldConfig_)) {
        oldConfig_ = Config::copyConfig(config);
        return true;
    }
    return false;
}

std::optional<Config> loadConfigFromExport(const QString& path, const QStringList& portList,
                                           QString* error, bool* valid) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
        }
        return std::nullopt;
    }
    MemoryPreferences root;
    try {
        importPreferences(file, root, QLatin1String(kNodePath));
    } catch (const InvalidPreferencesFormatError& e) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(path, QString::fromStdString(e.what()));
        }
        return std::nullopt;
    }
    Config config;
    const bool allValid = SettingsStore(root).loadConfig(config, portList);
    if (valid) {
        *valid = allValid;
    }
    return config;
}

Config loadStoredConfig(SettingsStore::Backend backend, const QStringList& portList, bool* valid) {
    SettingsStore store = SettingsStore::open(backend);
    Config config;
    const bool allValid = store.loadConfig(config, portList);
    if (valid) {
        *valid = allValid;
    }
    return config;
}

} // namespace serwedge::prefs
