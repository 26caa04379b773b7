// Settings import and saving through the settings file back-end: the whole import is one
// rewrite of the file, whatever the number of entries in the document, and a save rewrites it
// only for what changed. One iteration is one import or one save.
//
//   settings_import_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "config/Config.h"
#include "config/Instrument.h"
#include "serwedge/prefs/FilePreferences.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/prefs/SettingsStore.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

namespace CH = serwedge::config::ConfigHelper;
using serwedge::config::Config;
using namespace serwedge::prefs;

// A record with every setting away from its default and long texts.
Config busyConfig() {
    Config c = CH::Instrument(CH::Instrument::AND).getDefaultConfig();
    c.setInstrument(CH::Instrument::AND);
    c.setPort(QStringLiteral("/dev/ttyUSB0"));
    c.setCustomRegEx(QStringLiteral("ST,([-+]?\\d+\\.\\d+)") + QString(4000, QLatin1Char('x')));
    c.setRemoveCharacters(QString(200, QChar(2)));
    c.setDelay(QStringLiteral("35"));
    return c;
}

// An export of the record, with that many further entries that are no settings.
QByteArray exportWith(int unknownEntries) {
    MemoryPreferences root;
    SettingsStore store(root);
    store.saveConfig(busyConfig());
    QList<std::pair<QString, QString>> extra;
    for (int i = 0; i < unknownEntries; ++i) {
        extra.append({QStringLiteral("unknown%1").arg(i), QString(100, QLatin1Char('v'))});
    }
    if (!extra.isEmpty()) {
        store.node().putAll(extra);
    }
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    store.exportTo(out);
    return out.data();
}

void importIntoSettingsFile(benchmark::State& state) {
    setDiagnosticSink([](const QString&) {});
    const QByteArray document = exportWith(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    FilePreferencesFactory factory(dir.filePath(QStringLiteral("prefs.txt")));
    SettingsStore store(factory.userRoot());
    for (auto _ : state) {
        QBuffer in;
        in.setData(document);
        in.open(QIODevice::ReadOnly);
        const ImportResult result = store.importFrom(in);
        if (result.applied == 0) {
            throw std::runtime_error("nothing was imported");
        }
    }
    state.counters["document_bytes"] = static_cast<double>(document.size());
}
BENCHMARK(importIntoSettingsFile)->Arg(0)->Arg(4000)->Unit(benchmark::kMillisecond);

// A save of a record of which `changed` settings differ from what was loaded.
void saveToSettingsFile(benchmark::State& state) {
    setDiagnosticSink([](const QString&) {});
    QTemporaryDir dir;
    FilePreferencesFactory factory(dir.filePath(QStringLiteral("prefs.txt")));
    SettingsStore store(factory.userRoot());
    Config config = busyConfig();
    store.saveConfig(config);
    int n = 0;
    for (auto _ : state) {
        if (state.range(0) > 0) {
            config.setDelay(QString::number(++n % 1000));
        }
        store.saveConfig(config);
    }
}
BENCHMARK(saveToSettingsFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
