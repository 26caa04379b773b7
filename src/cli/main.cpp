// tallyra-cli: the Tallyra pipeline without a window.

#include "Commands.h"
#include "props/Props.h"

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
    "  --version        print the program version and exit\n"
    "  --help           print this help and exit\n"
    "  ports            list the serial ports with their driver names\n"
    "\n"
    "Options for every command:\n"
    "  -DKEY=VALUE      set a process property (for example -DSERIAL_PORT_LIST=COM1;COM2)\n";

} // namespace

int main(int argc, char** argv) {
    props::initFromSystem();
    std::vector<std::string> args(argv + 1, argv + argc);
    args = props::applyCommandLine(args);
    props::publishProgramProperties();

    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& cmd = args.front();
    if (cmd == "--version" || cmd == "version") {
        std::printf("tallyra-cli %s (%s)\n", props::kVersion, props::kReleaseDate);
        return 0;
    }
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (cmd == "ports")
        return runPortsCommand({args.begin() + 1, args.end()});
    QCoreApplication app(argc, argv);
    std::fprintf(stderr, "tallyra-cli: unknown command '%s'\n\n%s", cmd.c_str(), kUsage);
    return 2;
}
