// tallyra-cli: the Tallyra pipeline without a window.

#include "cli/CliSettings.h"
#include "cli/Commands.h"

#include "config/Catalogue.h"
#include "props/Props.h"
#include "rs232/Diagnostics.h"
#include "rs232/PlatformNotSupported.h"
#include "serwedge/prefs/Preferences.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: tallyra-cli [-DKEY=VALUE ...] COMMAND [OPTIONS]\n"
    "\n"
    "Reads measuring instruments on a serial port and turns their lines into values,\n"
    "with the same pipeline as the Tallyra window.\n"
    "\n"
    "Commands:\n"
    "  ports                        list the serial ports: NAME<TAB>FRIENDLY TEXT\n"
    "  presets                      list the instrument presets:\n"
    "                               IDENTIFIER<TAB>DISPLAY<TAB>TYPE<TAB>KEYMAPTYPE\n"
    "  replay [SETTINGS] FILE       feed the bytes of FILE (- = standard input) through the\n"
    "                               reading pipeline; one JSON object per line on stdout\n"
    "  read --port NAME [SETTINGS] [--count N] [--seconds S] [--type]\n"
    "                               read a port until N lines, S seconds or Ctrl+C;\n"
    "                               --type also types each value; after Ctrl+C the value\n"
    "                               being typed is finished, a second Ctrl+C ends at once;\n"
    "                               NAME may be tcp://HOST:PORT for a network instrument\n"
    "  settings show|export FILE|import FILE [--shared]\n"
    "                               the stored settings\n"
    "  --version                    print the program version\n"
    "  --help                       print this help\n"
    "\n"
    "Output of replay and read: one JSON object per line with the keys count, raw, value and\n"
    "error. Log messages, warnings and diagnostics go to standard error; important ones\n"
    "begin with \"! \".\n"
    "\n"
    "Exit status: 0 normal end (Ctrl+C included), 1 port, input or worker failure,\n"
    "2 refused option or wrong usage, 3 driver library not loadable, 255 (-1) no driver\n"
    "library for this platform.\n"
    "\n"
    "Options for every command:\n"
    "  -DKEY=VALUE                  set a process property (for example\n"
    "                               -DSERIAL_PORT_LIST=COM1;COM2)\n"
    "  -Dtallyra.keys=WAY           how --type types: auto (the desktop session decides), x11,\n"
    "                               wlroots (Wayland virtual keyboard) or portal (GNOME, KDE)\n"
    "\n";

int dispatch(int argc, char** argv) {
    props::initFromSystem();
    std::vector<std::string> args(argv + 1, argv + argc);
    args = props::applyCommandLine(args);
    props::publishProgramProperties();
    // Standard output carries data only.
    rs232::setDiagnosticSink(
        [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });

    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string cmd = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (cmd == "--version" || cmd == "version") {
        std::printf("tallyra-cli %s (%s)\n", props::kVersion, props::kReleaseDate);
        return 0;
    }
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        std::fputs(kUsage, stdout);
        std::fputs(tallyra::cli::settingsHelp(), stdout);
        return 0;
    }
    if (cmd == "ports")
        return runPortsCommand(rest);
    QCoreApplication app(argc, argv);
    serwedge::Catalogue::setLanguage(QStringLiteral("en"));
    // The settings store's diagnostics and notices (a damaged store kept aside) too.
    serwedge::prefs::setDiagnosticSink([](const QString& text) {
        std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    });
    if (cmd == "presets")
        return runPresetsCommand(rest);
    if (cmd == "replay")
        return runReplayCommand(rest);
    if (cmd == "read")
        return runReadCommand(rest);
    if (cmd == "settings")
        return runSettingsCommand(rest);
    std::fprintf(stderr, "tallyra-cli: unknown command '%s'\n\n%s", cmd.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Lines are written a batch at a time (CliView flushes after each), not one write per line
    // even on a terminal.
    std::setvbuf(stdout, nullptr, _IOFBF, 64 * 1024);
    try {
        return dispatch(argc, argv);
    } catch (const rs232::PlatformNotSupported&) {
        return -1; // the serial library has said why on standard error
    }
}
