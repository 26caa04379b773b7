#pragma once

// How one serial port is to be opened: name, bit rate, framing, handshake, buffer sizes.
// Every setter validates its value and leaves the record unchanged when it refuses it.

#include <array>
#include <cstdint>
#include <string>

namespace rs232 {

class SerialConfig {
public:
    static constexpr int BR_110 = 0, BR_150 = 1, BR_300 = 2, BR_600 = 3, BR_1200 = 4, BR_2400 = 5,
                         BR_4800 = 6, BR_9600 = 7, BR_19200 = 8, BR_38400 = 9, BR_57600 = 10,
                         BR_115200 = 11, BR_230400 = 12, BR_460800 = 13, BR_921600 = 14;
    static constexpr int LN_5BITS = 0, LN_6BITS = 1, LN_7BITS = 2, LN_8BITS = 3;
    static constexpr int PY_NONE = 0, PY_ODD = 1, PY_EVEN = 2, PY_MARK = 3, PY_SPACE = 4;
    static constexpr int ST_1BITS = 0, ST_2BITS = 1;
    static constexpr int HS_NONE = 0, HS_XONXOFF = 1, HS_CTSRTS = 2, HS_CTSDTR = 2, HS_DSRDTR = 3;
    static constexpr int HS_HARD_IN = 0x10, HS_HARD_OUT = 0x20, HS_SOFT_IN = 0x40,
                         HS_SOFT_OUT = 0x80, HS_SPLIT_MASK = 0xF0;
    static constexpr int PWR_STANDBY = 0, PWR_ACTIVE = 1;

    static constexpr std::array<int, 15> bitRateNumbers{110,   150,    300,    600,    1200,
                                                        2400,  4800,   9600,   19200,  38400,
                                                        57600, 115200, 230400, 460800, 921600};
    static constexpr std::array<const char*, 5> parityNames{"NONE", "ODD", "EVEN", "MARK", "SPACE"};
    static constexpr std::array<const char*, 4> handshakeNames{"NONE", "XON-XOFF", "CTS-RTS",
                                                               "DSR-DTR"};

    SerialConfig();                                  // port name "COM1"
    explicit SerialConfig(int portNum);              // numbered port, no name
    SerialConfig(int portNum, int txLen, int rxLen); // as above, with buffer sizes
    explicit SerialConfig(const std::string& portName);
    explicit SerialConfig(const char* portName) : SerialConfig(std::string(portName)) {}

    void setBitRate(int v);
    void setDataBits(int v);
    void setParity(int v);
    void setStopBits(int v);
    void setHandshake(int v);
    void setPortNum(int v);
    void setRxLen(int v);
    void setTxLen(int v);
    void setPortName(const std::string& name);
    void setBaseName(const std::string& name);
    void setHardFlow(bool v) { hardFlow = v; }
    void setDisableActiveLink(bool v) { disableActiveLink = v; }

    int getBitRate() const { return bitRate; }
    int getDataBits() const { return dataBits; }
    int getParity() const { return parity; }
    int getStopBits() const { return stopBits; }
    int getHandshake() const { return handshake; }
    int getPort() const { return port; }
    // The name as bytes in the platform's character set (UTF-8 here).
    const std::string& getPortName() const { return portName; }
    const std::string& getPortNameString() const { return sPortName; }
    int getRxLen() const { return rxLen; }
    int getTxLen() const { return txLen; }
    const std::string& getBaseName() const { return baseName; }
    bool getHardFlow() const { return hardFlow; }
    bool getDisableActiveLink() const { return disableActiveLink; }
    const std::string& getOsName() const { return osName; }

    // Position of a rate in bits per second in bitRateNumbers, or -1.
    static int getBitRateIndex(int bitsPerSecond);
    // This record's bit rate when it is already in bits per second (above 30), else the table
    // entry at index; an index outside 0..14 throws std::out_of_range.
    int getBitRateNumber(int index) const;
    bool validBitRateIndex() const { return bitRate >= 0 && bitRate <= 14; }
    // "9600 / NONE / 8 / 1 / NONE"
    std::string getSettingsString() const;
    SerialConfig copy() const { return *this; }

    // Whether DSR/DTR handshaking exists on the OS of that name.
    static bool dsrDtrAvailable(const std::string& osName);

private:
    int port = 0;
    std::string sPortName;
    std::string portName = std::string(1, '\0');
    std::string baseName = "/dev/ttyS";
    int txLen = 4096;
    int rxLen = 4096;
    int bitRate = BR_9600;
    int parity = PY_NONE;
    int dataBits = LN_8BITS;
    int stopBits = ST_1BITS;
    int handshake = HS_NONE;
    bool hardFlow = true;
    std::string osName;
    bool disableActiveLink = false;
};

} // namespace rs232
