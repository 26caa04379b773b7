#include "rs232/SerialConfig.h"

#include "props/Props.h"
#include "rs232/Platform.h"

#include <algorithm>
#include <stdexcept>

namespace rs232 {

SerialConfig::SerialConfig() : osName(systemOsName()) {
    setPortName("COM1");
}

SerialConfig::SerialConfig(int portNum) : osName(systemOsName()) {
    setPortNum(portNum);
}

SerialConfig::SerialConfig(int portNum, int tx, int rx) : osName(systemOsName()) {
    setPortNum(portNum);
    txLen = tx;
    rxLen = rx;
}

SerialConfig::SerialConfig(const std::string& name) : osName(systemOsName()) {
    setPortName(name);
}

void SerialConfig::setBitRate(int v) {
    if (v < 0 || v > 921600)
        throw std::invalid_argument("Invalid Serial Port Bit Rate");
    bitRate = v;
}

void SerialConfig::setDataBits(int v) {
    if (v < LN_5BITS || v > LN_8BITS)
        throw std::invalid_argument("Invalid Serial Port Data Bits");
    dataBits = v;
}

void SerialConfig::setParity(int v) {
    if (v < PY_NONE || v > PY_SPACE)
        throw std::invalid_argument("Invalid Serial Port Parity");
    parity = v;
}

void SerialConfig::setStopBits(int v) {
    if (v < ST_1BITS || v > ST_2BITS)
        throw std::invalid_argument("Invalid Serial Port Stop Bits");
    stopBits = v;
}

bool SerialConfig::dsrDtrAvailable(const std::string& os) {
    static const char* const names[] = {"Windows 95",           "Windows NT",
                                        "Windows CE",           "Windows 98",
                                        "Windows Me",           "Windows XP",
                                        "Windows 2000",         "Windows 2003",
                                        "Windows Server 2008",  "Windows Server 2008 R2",
                                        "Windows Vista",        "Windows 7",
                                        "Windows NT (unknown)", "OS/2"};
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return os == n; });
}

void SerialConfig::setHandshake(int v) {
    if (v == HS_DSRDTR && !dsrDtrAvailable(osName))
        throw std::invalid_argument("DSRDTR handshaking not available on this platform");
    const bool whole = v >= HS_NONE && v <= HS_DSRDTR;
    const bool split = v >= HS_HARD_IN && v <= HS_SPLIT_MASK;
    if (!whole && !split)
        throw std::invalid_argument("Invalid Serial Port Handshake");
    handshake = v;
}

void SerialConfig::setPortNum(int v) {
    if (v < 0 && osName != "EPOC")
        throw std::invalid_argument("Invalid Port Number: " + std::to_string(v));
    port = v;
}

void SerialConfig::setRxLen(int v) {
    if (osName == "EPOC" && v > 8192)
        throw std::invalid_argument("Limited to 8192 on EPOC");
    rxLen = v;
}

void SerialConfig::setTxLen(int v) {
    if (osName == "EPOC" && v > 8192)
        throw std::invalid_argument("Limited to 8192 on EPOC");
    txLen = v;
}

void SerialConfig::setPortName(const std::string& name) {
    sPortName = name;
    portName = name; // the platform's character set is UTF-8, as the text itself
}

void SerialConfig::setBaseName(const std::string& name) {
    baseName = name;
}

int SerialConfig::getBitRateIndex(int bitsPerSecond) {
    for (size_t i = 0; i < bitRateNumbers.size(); ++i)
        if (bitRateNumbers[i] == bitsPerSecond)
            return static_cast<int>(i);
    return -1;
}

int SerialConfig::getBitRateNumber(int index) const {
    if (bitRate > 30)
        return bitRate;
    if (index < 0 || index >= static_cast<int>(bitRateNumbers.size()))
        throw std::out_of_range("Bit rate index out of range: " + std::to_string(index));
    return bitRateNumbers[static_cast<size_t>(index)];
}

std::string SerialConfig::getSettingsString() const {
    // Values 15..30 are neither an index nor a rate: shown as they are.
    const bool meaningless = bitRate > BR_921600 && bitRate <= 30;
    std::string s = std::to_string(meaningless ? bitRate : getBitRateNumber(bitRate));
    s += " / ";
    s += parityNames.at(static_cast<size_t>(parity));
    s += " / ";
    s += static_cast<char>('5' + dataBits);
    s += " / ";
    s += static_cast<char>('1' + stopBits);
    s += " / ";
    if (handshake & HS_SPLIT_MASK) {
        if (handshake & HS_HARD_IN)
            s += " HI";
        if (handshake & HS_HARD_OUT)
            s += " HO";
        if (handshake & HS_SOFT_IN)
            s += " SI";
        if (handshake & HS_SOFT_OUT)
            s += " SO";
    } else if (osName == "Mac OS" && handshake == HS_CTSRTS) {
        s += "CTS-DTR";
    } else {
        s += handshakeNames.at(static_cast<size_t>(handshake));
    }
    return s;
}

} // namespace rs232
