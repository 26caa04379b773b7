#pragma once

// Display texts for serial ports: "COM5: USB Serial Port - FTDI" (name, driver description,
// manufacturer), and the way back from such a text to the port name.

#include "rs232/PortDriverInfo.h"

#include <string>
#include <vector>

namespace serwedge::util {

class FriendlyPortUtil {
public:
    static constexpr const char* FORMATSTR = "%s: %s - %s";

    // Takes the driver records of the last listing; throws rs232::IOException when the platform
    // has none or no listing was made yet.
    static void update();
    static bool portInfoListIsPopulated();
    static std::vector<std::string> getFriendlyPortList();
    // The friendly text of that port, or the name itself when there is no record for it.
    static std::string getFriendlyPortName(const std::string& portName);
    // Reads the port's driver record afresh (another adapter may answer to the name now) and
    // gives its friendly text, or the name itself when the driver has no record for it.
    static std::string refreshFriendlyPortName(const std::string& portName);
    // The port name behind a friendly text, or the text itself when no record matches.
    static std::string getUnfriendlyPortName(const std::string& displayText);

private:
    static std::string friendlyText(const rs232::PortDriverInfo& info);
};

} // namespace serwedge::util
