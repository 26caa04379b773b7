// tallyra-cli ports: lists the serial ports with their driver names.

#include "Commands.h"

#include "rs232/Diagnostics.h"
#include "rs232/IOException.h"
#include "rs232/SerialPortLocal.h"
#include "serwedge/util/FriendlyPortUtil.h"

#include <cstdio>

int runPortsCommand(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "tallyra-cli ports: unexpected argument '%s'\n", args.front().c_str());
        return 2;
    }
    // Standard output carries the list only; the serial library's diagnostics go to stderr.
    rs232::setDiagnosticSink([](const std::string& line) {
        std::fputs(line.c_str(), stderr);
        std::fputc('\n', stderr);
    });
    if (!rs232::SerialPortLocal::isLibraryLoaded()) {
        std::fprintf(stderr, "tallyra-cli: the serial driver library %s could not be loaded\n",
                     rs232::SerialPortLocal::getLibraryName().c_str());
        return 3;
    }
    const std::vector<std::string> ports = rs232::SerialPortLocal::getPortList();
    try {
        serwedge::util::FriendlyPortUtil::update();
    } catch (const rs232::IOException& e) {
        // Without driver records every port is shown under its own name.
        std::fprintf(stderr, "tallyra-cli: %s\n", e.what());
    }
    for (const auto& port : ports)
        std::printf("%s\t%s\n", port.c_str(),
                    serwedge::util::FriendlyPortUtil::getFriendlyPortName(port).c_str());
    std::fflush(stdout);
    return 0;
}
