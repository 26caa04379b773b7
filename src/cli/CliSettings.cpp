#include "cli/CliSettings.h"

#include "config/ConfigHelper.h"
#include "config/Instrument.h"
#include "config/IntParse.h"
#include "outputs/MqttSettings.h"

#include <map>

namespace tallyra::cli {

using namespace serwedge::config;
using namespace serwedge::config::ConfigHelper;

namespace {

[[noreturn]] void refuse(const std::string& option, const QString& value, const char* accepts) {
    throw UsageError(option + ": '" + value.toStdString() + "' is not accepted; expected " +
                     accepts);
}

template <class E> E enumValue(const std::string& option, const QString& value) {
    if (auto v = E::valueOf(value))
        return *v;
    std::string names;
    for (const auto& c : E::values())
        names += (names.empty() ? "" : "|") + c.name().toStdString();
    throw UsageError(option + ": '" + value.toStdString() + "' is not accepted; expected one of " +
                     names);
}

int intIn(const std::string& option, const QString& value, int low, int high, const char* what) {
    const auto v = parseDecimalInt(value);
    if (!v || *v < low || *v > high)
        refuse(option, value, what);
    return *v;
}

void textRule(const std::string& option, const QString& value, bool (*valid)(const QString&),
              const char* what) {
    if (!valid(value))
        refuse(option, value, what);
}

// mqtt://[USER[:PASSWORD]@]HOST[:PORT][/TOPIC], mqtts:// for TLS. A password given neither in
// the address nor in the store may come from the environment (TALLYRA_MQTT_PASSWORD), so that it
// need not stand on a command line.
void applyMqttUrl(OutputSettings& o, const QString& url) {
    QString error;
    const auto s = serwedge::outputs::MqttSettings::fromUrl(url, error);
    if (!s)
        throw UsageError("--mqtt: " + error.toStdString());
    o.mqtt = true;
    o.mqttHost = s->host;
    o.mqttPort = QString::number(s->port);
    o.mqttTls = s->tls;
    o.mqttUser = s->user;
    o.mqttPassword = s->password;
    if (o.mqttPassword.isEmpty() && !o.mqttUser.isEmpty())
        o.mqttPassword = qEnvironmentVariable("TALLYRA_MQTT_PASSWORD");
    o.mqttTopic = s->topic;
}

} // namespace

Config loadDefaults() {
    Config c;
    c.setPort(QStringLiteral(""));
    c.setInstrument(Instrument::getDefault());
    c.setBitRate(BitRates::getDefault());
    c.setDataBits(DataBits::getDefault());
    c.setStopBits(StopBits::getDefault());
    c.setParity(Parity::getDefault());
    c.setInputTerminator(InputTerminator::getDefault());
    c.minimizeToTray = false;
    c.notifyWhenMinimizedToTray = false;
    c.checkForUpdates = true;
    c.abortAutoStartWhenPrevPortNotAvailable = false;
    c.ignoreDuplicates = false;
    return c;
}

Config buildConfig(const std::vector<std::string>& args, RunOptions& run, QStringList& warnings,
                   const SettingsLoader& loadStored, const SettingsLoader& loadFile) {
    // Split into option → value pairs first; "--opt=value" and "--opt value" are both accepted.
    static const std::map<std::string, bool> takesValue{
        {"--instrument", true},
        {"--regex", true},
        {"--bit-rate", true},
        {"--data-bits", true},
        {"--parity", true},
        {"--stop-bits", true},
        {"--terminator", true},
        {"--edit-operation", true},
        {"--edit-position", true},
        {"--edit-chars", true},
        {"--remove", true},
        {"--math-operation", true},
        {"--math-operand", true},
        {"--decimals", true},
        {"--rounding", true},
        {"--separator", true},
        {"--ignore-duplicates", false},
        {"--no-ignore-duplicates", false},
        {"--ignore-time-limit", true},
        {"--ignore-difference", true},
        {"--keyboard-type", true},
        {"--start-with", true},
        {"--output-terminator", true},
        {"--output-terminator2", true},
        {"--every-x-values", true},
        {"--delay", true},
        {"--sound", true},
        {"--stable-only", false},
        {"--no-reconnect", false},
        {"--request-command", true},
        {"--request-mode", true},
        {"--request-interval", true},
        {"--request-every", true},
        {"--request", false},
        {"--stored", false},
        {"--settings", true},
        {"--port", true},
        {"--count", true},
        {"--seconds", true},
        {"--type", false},
        {"--quiet", false},
        {"--journal", true},
        {"--journal-days", true},
        {"--no-journal", false},
        {"--mqtt", true},
        {"--mqtt-ca", true},
        {"--mqtt-retain", false},
        {"--no-mqtt", false},
    };
    std::vector<std::pair<std::string, QString>> options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0 || a == "-") {
            run.positional << QString::fromLocal8Bit(a.c_str());
            continue;
        }
        std::string name = a;
        std::optional<QString> value;
        if (auto eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = QString::fromLocal8Bit(a.substr(eq + 1).c_str());
        }
        auto known = takesValue.find(name);
        if (known == takesValue.end())
            throw UsageError("unknown option " + name);
        if (known->second && !value) {
            if (i + 1 >= args.size())
                throw UsageError(name + " needs a value");
            value = QString::fromLocal8Bit(args[++i].c_str());
        } else if (!known->second && value) {
            throw UsageError(name + " takes no value");
        }
        options.emplace_back(name, value.value_or(QString()));
    }

    Config c = loadDefaults();
    for (const auto& [name, value] : options) {
        if (name == "--stored") {
            if (!loadStored)
                throw UsageError("--stored: the settings store is not available");
            loadStored(c, {});
        } else if (name == "--settings") {
            if (!loadFile)
                throw UsageError("--settings: settings files are not supported");
            if (!loadFile(c, value))
                warnings
                    << QStringLiteral("invalid values in %1 were replaced by defaults").arg(value);
        }
    }
    for (const auto& [name, value] : options) {
        if (name != "--instrument")
            continue;
        const Instrument instrument = enumValue<Instrument>(name, value);
        const Config line = instrument.getDefaultConfig();
        c.setInstrument(instrument);
        c.setBitRate(line.getBitRate());
        c.setDataBits(line.getDataBits());
        c.setStopBits(line.getStopBits());
        c.setParity(line.getParity());
        c.setInputTerminator(line.getInputTerminator());
        c.takeRequestDefaultsOf(instrument);
    }
    for (const auto& [name, value] : options) {
        if (name == "--regex") {
            textRule(name, value, CustomRegEx::valid, "a regular expression with a capture group");
            c.setCustomRegEx(value);
        } else if (name == "--bit-rate") {
            const auto bps = parseDecimalInt(value);
            bool found = false;
            for (const auto& r : BitRates::values()) {
                if (bps && r.bitsPerSecond() == *bps) {
                    c.setBitRate(r.ordinal());
                    found = true;
                }
            }
            if (!found)
                refuse(name, value, "a bit rate from 110 to 921600 such as 9600");
        } else if (name == "--data-bits") {
            c.setDataBits(intIn(name, value, 5, 8, "5, 6, 7 or 8") - 5);
        } else if (name == "--parity") {
            c.setParity(enumValue<Parity>(name, value).ordinal());
        } else if (name == "--stop-bits") {
            c.setStopBits(intIn(name, value, 1, 2, "1 or 2") - 1);
        } else if (name == "--terminator") {
            c.setInputTerminator(intIn(name, value, 0, 255, "a byte value from 0 to 255"));
        } else if (name == "--edit-operation") {
            c.setEditOperation(enumValue<EditOperation>(name, value));
        } else if (name == "--edit-position") {
            c.setEditPosition(enumValue<EditPosition>(name, value));
        } else if (name == "--edit-chars") {
            textRule(name, value, EditNumCharacters::valid, "an integer from 1 to 99");
            c.setEditNumCharacters(value);
        } else if (name == "--remove") {
            textRule(name, value, RemoveCharacters::valid, "characters with codes 0 to 255");
            c.setRemoveCharacters(value);
        } else if (name == "--math-operation") {
            c.setMathOperation(enumValue<MathOperation>(name, value));
        } else if (name == "--math-operand") {
            QString operand = value;
            operand.replace(QLatin1Char(','), QLatin1Char('.'));
            textRule(name, operand, MathOperand::valid, "a decimal number other than 0");
            c.setMathOperand(operand);
        } else if (name == "--decimals") {
            textRule(name, value, DecimalPlaces::valid, "an integer from 0 to 7");
            c.setDecimalPlaces(value);
        } else if (name == "--rounding") {
            c.setRoundingMethod(enumValue<RoundingMethod>(name, value));
        } else if (name == "--separator") {
            c.setDecimalSeparator(enumValue<DecimalSeparator>(name, value));
        } else if (name == "--ignore-duplicates") {
            c.ignoreDuplicates = true;
        } else if (name == "--no-ignore-duplicates") {
            c.ignoreDuplicates = false;
        } else if (name == "--ignore-time-limit") {
            textRule(name, value, IgnoreTimeLimit::valid, "an integer greater than 0 (ms)");
            c.setIgnoreTimeLimit(value);
        } else if (name == "--ignore-difference") {
            QString difference = value;
            difference.replace(QLatin1Char(','), QLatin1Char('.'));
            textRule(name, difference, IgnoreDifference::valid, "a decimal number greater than 0");
            c.setIgnoreDifference(difference);
        } else if (name == "--keyboard-type") {
            c.setKeyboardType(enumValue<KeyboardType>(name, value));
        } else if (name == "--start-with") {
            c.setStartWith(enumValue<StartWith>(name, value));
        } else if (name == "--output-terminator") {
            c.setOutputTerminator(enumValue<OutputTerminator>(name, value));
        } else if (name == "--output-terminator2") {
            c.setOutputTerminator2(enumValue<OutputTerminator>(name, value));
        } else if (name == "--every-x-values") {
            textRule(name, value, EveryXValues::valid, "an integer from 2 to 99");
            c.setEveryXValues(value);
        } else if (name == "--delay") {
            textRule(name, value, Delay::valid, "an integer from 0 to 1000 (ms)");
            c.setDelay(value);
        } else if (name == "--sound") {
            c.setSound(enumValue<Sound>(name, value));
        } else if (name == "--stable-only") {
            c.stableOnly = true;
        } else if (name == "--no-reconnect") {
            c.reconnect = false;
        } else if (name == "--request-command") {
            textRule(name, value, RequestCommand::valid,
                     "characters with codes 0 to 255, control characters as <13>");
            c.setRequestCommand(value);
        } else if (name == "--request-mode") {
            c.setRequestMode(enumValue<RequestMode>(name, value));
        } else if (name == "--request-interval" || name == "--request-every") {
            textRule(name, value, RequestIntervalMs::valid, "an integer from 100 to 3600000 (ms)");
            c.setRequestIntervalMs(value);
            if (name == "--request-every")
                c.setRequestMode(RequestMode::INTERVAL);
        } else if (name == "--request") {
            c.setRequestMode(RequestMode::ON_START);
        } else if (name == "--port") {
            run.port = value;
        } else if (name == "--count") {
            run.count = intIn(name, value, 1, 2147483647, "a positive number of lines");
        } else if (name == "--seconds") {
            bool ok = false;
            const double s = value.toDouble(&ok);
            if (!ok || !(s > 0) || s > 1e7)
                refuse(name, value, "a positive number of seconds");
            run.seconds = s;
        } else if (name == "--type") {
            run.type = true;
        } else if (name == "--quiet") {
            run.quiet = true;
        } else if (name == "--journal") {
            if (value.trimmed().isEmpty())
                refuse(name, value, "a folder for the journal files");
            c.outputs.journal = true;
            c.outputs.journalFolder = value;
        } else if (name == "--journal-days") {
            textRule(name, value, OutputRules::JournalDays::valid,
                     "a number of days from 0 (keep all) to 36500");
            c.outputs.journalDays = value;
        } else if (name == "--no-journal") {
            c.outputs.journal = false;
        } else if (name == "--mqtt") {
            applyMqttUrl(c.outputs, value);
        } else if (name == "--mqtt-ca") {
            c.outputs.mqttTls = true;
            c.outputs.mqttCaFile = value;
        } else if (name == "--mqtt-retain") {
            c.outputs.mqttRetain = true;
        } else if (name == "--no-mqtt") {
            c.outputs.mqtt = false;
        }
    }

    // The rules the window applies when it takes the settings from its controls.
    if (c.getMathOperation() != MathOperation::NONE && c.getMathOperand().isEmpty()) {
        warnings << QStringLiteral("the math operation needs --math-operand; none is applied");
        c.setMathOperation(MathOperation::NONE);
    }
    if (c.getMathOperation() == MathOperation::DIVIDE && c.getDecimalPlaces().isEmpty()) {
        warnings << QStringLiteral(
            "a division needs --decimals for rounding; the division is not applied");
    }
    if (c.getRequestMode() != RequestMode::NONE && c.getRequestCommand().isEmpty()) {
        warnings << QStringLiteral("requests need --request-command (this instrument has no "
                                   "command of its own); nothing is sent");
    }
    if (c.getKeyboardType() == KeyboardType::ALL && c.getDelayAsInt() < 3)
        c.setDelay(QStringLiteral("3"));
    return c;
}

const char* settingsHelp() {
    return "Settings (start from the defaults of an empty settings store):\n"
           "  --stored                  start from the user's stored settings\n"
           "  --settings FILE           start from an exported settings file\n"
           "  --instrument ID           preset (see 'presets'); also takes its line settings\n"
           "  --regex PATTERN           own pattern with a capture group (\"\" clears it)\n"
           "  --bit-rate N              bits per second, 110 to 921600\n"
           "  --data-bits N             5, 6, 7 or 8\n"
           "  --parity P                NONE|ODD|EVEN|MARK|SPACE\n"
           "  --stop-bits N             1 or 2\n"
           "  --terminator BYTE         input terminator byte, 0 to 255 (13 = CR, 10 = LF)\n"
           "  --edit-operation OP       REMOVE|KEEP\n"
           "  --edit-position POS       FIRST|LAST\n"
           "  --edit-chars N            characters to remove or keep, 1 to 99\n"
           "  --remove CHARS            characters deleted from the value\n"
           "  --math-operation OP       NONE|MULTIPLY|DIVIDE\n"
           "  --math-operand X          decimal operand (not 0)\n"
           "  --decimals N              decimal places to round to, 0 to 7\n"
           "  --rounding MODE           CEILING|DOWN|FLOOR|HALF_DOWN|HALF_EVEN|HALF_UP|UP\n"
           "  --separator SEP           DOT|COMMA\n"
           "  --ignore-duplicates       suppress repeated values (--no-ignore-duplicates: off)\n"
           "  --ignore-time-limit MS    only within this time, positive integer\n"
           "  --ignore-difference X     tolerance, positive decimal\n"
           "  --keyboard-type TYPE      QUERTY|US_INTERNATIONAL|AZERTY|GERMAN|ALL\n"
           "  --start-with KEY          NONE|ENTER|TAB|RIGHT|DOWN|DELETE|MULTIPLY|F1..F12\n"
           "  --output-terminator KEY   NONE|ENTER|TAB|RIGHT|DOWN\n"
           "  --output-terminator2 KEY  NONE|ENTER|TAB|RIGHT|DOWN\n"
           "  --every-x-values N        every N-th value ends with the second terminator, 2..99\n"
           "  --delay MS                pause between keystrokes, 0 to 1000\n"
           "  --sound NAME              NONE|RIDE_BELL|COWBELL|HIGH_AGOGO|LOW_AGOGO|CLAVES|"
           "OPEN_TRIANGLE\n"
           "  --stable-only             lines the instrument marks as not stable are not typed\n"
           "  --no-reconnect            end the reading when the port goes away, instead of\n"
           "                            waiting for it to return\n"
           "  --request-command CMD     command for the instrument, control characters as <13>\n"
           "                            (the preset's own, such as SI<13><10>, by default)\n"
           "  --request-mode MODE       NONE|ON_START|INTERVAL|ON_DEMAND\n"
           "  --request-interval MS     time between requests, 100 to 3600000\n"
           "  --request-every MS        send the request every MS milliseconds\n"
           "  --request                 send the request once after opening the port\n"
           "\n"
           "Outputs besides the keyboard (read and replay):\n"
           "  --journal DIR             keep every line read in DIR/tallyra-YYYY-MM-DD.jsonl\n"
           "  --journal-days N          remove journal files older than N days (0: keep all;\n"
           "                            default 90); --no-journal: no journal\n"
           "  --mqtt URL                publish every value: mqtt://[USER[:PASSWORD]@]HOST[:PORT]\n"
           "                            [/TOPIC], mqtts:// for TLS (default port 1883 or 8883,\n"
           "                            topic tallyra/<hostname>/<port>/reading); a password\n"
           "                            may come from TALLYRA_MQTT_PASSWORD; --no-mqtt: off\n"
           "  --mqtt-ca FILE            TLS with this certificate authority (PEM)\n"
           "  --mqtt-retain             the broker keeps the last value for new subscribers\n"
           "  --quiet                   no line on standard output (a service that only\n"
           "                            publishes or keeps a journal)\n";
}

} // namespace tallyra::cli
