// tallyra-cli settings: show, export and import the stored settings.

#include "cli/Commands.h"

#include "config/Config.h"
#include "serwedge/prefs/Properties.h"
#include "serwedge/prefs/SettingsStore.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

using serwedge::prefs::SettingsStore;

namespace {

const char* const kSettingsUsage =
    "Usage: tallyra-cli settings show [--shared]\n"
    "       tallyra-cli settings export FILE [--shared]\n"
    "       tallyra-cli settings import FILE [--shared]\n"
    "\n"
    "  show     print the stored settings, one key=value per line\n"
    "  export   write the stored settings to FILE in the XML export format\n"
    "  import   read the settings of an export file into the store\n"
    "  --shared use the settings file shared by all users of this machine\n";

void printErr(const QString& text) {
    std::fputs(("tallyra-cli: " + text + "\n").toLocal8Bit().constData(), stderr);
}

int show(SettingsStore& store) {
    serwedge::prefs::Preferences& node = store.node();
    for (const QString& key : node.keys()) {
        // Control characters and line breaks are shown escaped so that each entry is one line.
        QString value = node.get(key, QString());
        if (key == QLatin1String(serwedge::prefs::kPasswordKey) && !value.isEmpty())
            value = QStringLiteral("(set, not shown)");
        QString shown;
        for (QChar c : value) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
                shown += serwedge::prefs::properties::escape(QString(c), false);
            } else {
                shown += c;
            }
        }
        std::fputs((key + QLatin1Char('=') + shown + QLatin1Char('\n')).toUtf8().constData(),
                   stdout);
    }
    serwedge::config::Config config;
    QStringList invalid;
    if (!store.loadConfig(config, {}, &invalid)) {
        printErr(QStringLiteral("invalid stored values, the program uses the defaults instead: ") +
                 invalid.join(QStringLiteral(", ")));
    }
    return 0;
}

int exportTo(SettingsStore& store, const QString& path) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        printErr(QStringLiteral("export failed: cannot write %1: %2").arg(path, out.errorString()));
        return 1;
    }
    try {
        store.exportTo(out);
    } catch (const std::exception& e) {
        out.cancelWriting();
        printErr(QStringLiteral("export failed: ") + QString::fromStdString(e.what()));
        return 1;
    }
    if (!out.commit()) {
        printErr(QStringLiteral("export failed: cannot write %1: %2").arg(path, out.errorString()));
        return 1;
    }
    return 0;
}

int importFrom(SettingsStore& store, const QString& path) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        printErr(QStringLiteral("import failed: cannot open %1: %2").arg(path, in.errorString()));
        return 1;
    }
    try {
        const auto result = store.importFrom(in);
        if (!result.unknownKeys.isEmpty()) {
            printErr(serwedge::prefs::unknownSettingsText(result.unknownKeys));
        }
        if (result.applied == 0) {
            printErr(QStringLiteral("%1 holds no settings of %2; nothing was imported")
                         .arg(path, QLatin1String(serwedge::prefs::kNodePath)));
        }
    } catch (const std::exception& e) {
        printErr(QStringLiteral("import failed: ") + QString::fromStdString(e.what()));
        return 1;
    }
    return 0;
}

} // namespace

int runSettingsCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest;
    bool shared = false;
    for (const std::string& arg : args) {
        if (arg == "--shared") {
            shared = true;
        } else {
            rest.push_back(arg);
        }
    }
    const auto usage = [] {
        std::fputs(kSettingsUsage, stderr);
        return 2;
    };
    if (rest.empty()) {
        return usage();
    }
    const std::string& action = rest.front();
    if (!((action == "show" && rest.size() == 1) ||
          ((action == "export" || action == "import") && rest.size() == 2))) {
        return usage();
    }
    try {
        SettingsStore store = SettingsStore::open(shared ? SettingsStore::Backend::SharedFile
                                                         : SettingsStore::Backend::Default);
        if (action == "show") {
            return show(store);
        }
        const QString path = QString::fromLocal8Bit(rest[1].c_str());
        return action == "export" ? exportTo(store, path) : importFrom(store, path);
    } catch (const std::exception& e) {
        printErr(QString::fromStdString(e.what()));
        return 1;
    }
}
