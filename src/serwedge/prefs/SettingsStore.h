#pragma once

#include "config/Config.h"
#include "serwedge/prefs/Preferences.h"
#include "serwedge/prefs/PreferencesXml.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace serwedge::prefs {

// The store node that holds every setting of the program.
inline constexpr const char* kNodePath = "/com/brindle/Tallyra";
// The one setting that is stored but never exported nor shown: the MQTT broker's password.
inline constexpr const char* kPasswordKey = "mqttPassword";

// Where an installation shared by all users keeps its settings: the folder named by the
// environment variable "ProgramData" (/var/lib where it is not set) + this.
inline constexpr const char* kSharedFileSuffix = "/Brindle/TallyraCrew/prefs.txt";
QString sharedPreferencesFile();

// Reads and writes the configuration record in the settings node.
class SettingsStore {
public:
    enum class Backend {
        Default,   // the platform's per-user store
        SharedFile // the settings file shared by all users of the machine
    };

    // Opens the root of the chosen back-end and the settings node. For SharedFile the
    // preferences-file property is set to sharedPreferencesFile() first.
    static SettingsStore open(Backend backend);

    // Works on the settings node below the given root (tests, exported files).
    explicit SettingsStore(Preferences& root);

    Preferences& node() { return *node_; }

    // Fills the record from the node; invalid stored values are replaced by their defaults and
    // named in invalidKeys. "port" is read only when the port list is not empty. Answers true
    // when every stored value was valid.
    bool loadConfig(config::Config& config, const QStringList& portList,
                    QStringList* invalidKeys = nullptr);

    // Writes the settings of the record that differ from what this store last loaded or wrote,
    // all in one write, so that settings another process changed meanwhile keep their values
    // unless this record changed them too. A store failure is reported on the diagnostic output
    // ("saveConfig exception: ...") and swallowed; AccessDeniedError reaches the caller.
    void saveConfig(const config::Config& config);

    // Writes the node as it is stored, without the password, to the device in the XML export
    // format.
    void exportTo(QIODevice& out);
    // Imports the settings node of an export document (other nodes are ignored) in one write,
    // then syncs. Every value is checked first with the rules of the panels: a bad one refuses
    // the whole document with InvalidPreferencesFormatError naming the key and the value, and
    // nothing is written. Keys that are no settings are left out and listed in the result.
    ImportResult importFrom(QIODevice& in);

private:
    Preferences* node_;
    // The stored text of every setting as this store last loaded or wrote it.
    QMap<QString, QString> known_;
};

// The notice that an import left out keys that are no settings: the first 20 keys, control
// characters shown as their code.
QString unknownSettingsText(const QStringList& keys);

// The stored form of every setting of the record, in the order saveConfig writes them; "port"
// and "prevPort" lead when a port is set.
std::vector<std::pair<QString, QString>> storedForm(const config::Config& config);

// Decides whether an automatic save is due: when a save was requested, or when the record
// differs from the one last saved (which then becomes the saved one).
class SaveNecessity {
public:
    explicit SaveNecessity(const config::Config& saved)
        : oldConfig_(config::Config::copyConfig(saved)) {}

    void setSaveNecessary() { saveNecessary_ = true; }
    bool isSaveNecessary(const config::Config& config);
    const config::Config& oldConfig() const { return oldConfig_; }

private:
    bool saveNecessary_ = false;
    config::Config oldConfig_;
};

// Loads a record from an exported settings file without touching the store. Answers nothing
// and sets error when the file cannot be read; otherwise valid tells whether every value was.
std::optional<config::Config> loadConfigFromExport(const QString& path, const QStringList& portList,
                                                   QString* error, bool* valid = nullptr);
// Loads the record from the user's stored settings (or the shared file).
config::Config loadStoredConfig(SettingsStore::Backend backend, const QStringList& portList,
                                bool* valid = nullptr);

} // namespace serwedge::prefs
