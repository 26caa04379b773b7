// Entry point of the window program (WeightToKey): English by default, the process properties,
// the platform's own look, and the main window.
//
//   tallyra [PORT] [--demo] [--shared] [--language CODE] [-DKEY=VALUE ...]

#include "config/Catalogue.h"
#include "props/Props.h"
#include "rs232/PlatformNotSupported.h"
#include "rs232/SerialPortLocal.h"
#include "rs232/SimulatedPorts.h"
#include "serwedge/WeightToKeyFrame2.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The default locale is English whatever the system's language; --language changes only
    // the catalogue texts.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    props::initFromSystem();
    std::vector<std::string> raw(argv + 1, argv + argc);
    const std::vector<std::string> rest = props::applyCommandLine(raw);
    props::publishProgramProperties();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyra"));
    QApplication::setOrganizationName(QStringLiteral("brindle"));

    serwedge::WeightToKeyFrame2::Options options;
    QString language = QStringLiteral("en");
    bool demo = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string& a = rest[i];
        if (a == "--demo") {
            demo = true;
        } else if (a == "--shared") {
            options.backend = serwedge::prefs::SettingsStore::Backend::SharedFile;
        } else if (a == "--language" && i + 1 < rest.size()) {
            language = QString::fromStdString(rest[++i]);
        } else if (a.rfind("--language=", 0) == 0) {
            language = QString::fromStdString(a.substr(11));
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr,
                         "tallyra: unknown option %s\n"
                         "usage: tallyra [PORT] [--demo] [--shared] [--language CODE] "
                         "[-DKEY=VALUE ...]\n",
                         a.c_str());
            return 1;
        } else {
            options.args << QString::fromStdString(a);
        }
    }
    serwedge::Catalogue::setLanguage(language);

    // Without a driver library for this platform the program cannot work: the serial library
    // prints why, and the program ends with -1.
    try {
        rs232::SerialPortLocal::isLibraryLoaded();
    } catch (const rs232::PlatformNotSupported&) {
        return -1;
    }

    if (demo) {
        std::string error;
        if (const rs232::SimulatedPorts* sim =
                rs232::SerialPortLocal::isLibraryLoaded() ? rs232::simulatedPorts(error) : nullptr;
            sim && sim->enableDemo) {
            sim->enableDemo();
            options.preselectPort = QStringLiteral("DEMO");
        } else {
            std::fprintf(stderr, "tallyra: the demo device is not available: %s\n", error.c_str());
        }
    }

    serwedge::WeightToKeyFrame2 frame(options);
    if (const auto status = frame.exitStatus())
        return *status;
    return app.exec();
}
