#pragma once

// A serial port opened through the native driver library. Constructing the object opens the
// port; close() (or destruction) closes it. The library is loaded once per process, on first use
// (see DriverLibrary); on a platform without a library, every call that needs it throws
// PlatformNotSupported. The port lists are kept in PortListing.cpp.

#include "rs232/DeviceNotificationCallback.h"
#include "rs232/FlowControlTask.h"
#include "rs232/IOException.h"
#include "rs232/PortDriverInfo.h"
#include "rs232/SerialConfig.h"
#include "rs232/SerialPort.h"
#include "rs232/SerialServerTask.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rs232 {

class SerialPortLocal : public SerialPort {
public:
    static constexpr int buildNum = 9233;

    // Opens the port; throws IOException with the driver's reason when it cannot.
    explicit SerialPortLocal(const SerialConfig& config);
    ~SerialPortLocal() override; // closes the port, ignoring errors

    SerialPortLocal(const SerialPortLocal&) = delete;
    SerialPortLocal& operator=(const SerialPortLocal&) = delete;

    void close() override;
    void configure() override;
    void configure(const SerialConfig& config) override;
    int getByte() override;
    const SerialConfig& getConfig() const override { return config; }
    int getData(std::span<std::uint8_t> buffer) override;
    int getData(std::span<std::uint8_t> buffer, int offset, int count) override;
    int getLibVer() override;
    std::string getName() const override { return name; }
    int getPortNum() const override { return port; }
    int getTimeoutRx() override;
    int getTimeoutTx() override;
    bool isSupported(const std::string& feature) const override;
    void putByte(std::uint8_t b) override;
    void putData(std::span<const std::uint8_t> data) override;
    void putData(std::span<const std::uint8_t> data, int count) override;
    void putData(std::span<const std::uint8_t> data, int offset, int count) override;
    void putString(const std::string& text) override;
    void rxFlush() override;
    bool rxOverflow() override;
    int rxReadyCount() override;
    void sendBreak(int milliseconds) override;
    void setConfig(const SerialConfig& c) override { config = c; }
    void setDTR(bool on) override;
    void setName(const std::string& n) override { name = n; }
    void setRTS(bool on) override;
    void setTimeoutRx(int milliseconds) override;
    void setTimeoutTx(int milliseconds) override;
    bool sigBreak() override;
    bool sigCD() override;
    bool sigCTS() override;
    bool sigDSR() override;
    bool sigFrameErr() override;
    bool sigOverrun() override;
    bool sigParityErr() override;
    bool sigRing() override;
    int txBufCount() override;
    void txDrain() override;
    void txFlush() override;

    // Waits in the driver up to timeoutMs for the first byte, then takes every byte that is
    // ready, up to the buffer's size: the reading worker's one call per batch. 0 when nothing
    // arrived in time. A device that failed or hung up throws "getByte failed", as getByte
    // does, so that a reading ends with the same message whichever way it reads.
    int readAvailable(std::span<std::uint8_t> buffer, int timeoutMs);

    bool isOpen() const { return open_; }
    int getBitRate() const { return config.getBitRate(); }
    int getDataBits() const { return config.getDataBits(); }
    int getParity() const { return config.getParity(); }
    int getStopBits() const { return config.getStopBits(); }
    std::string getPortName() const { return config.getPortNameString(); }
    void reset();
    void resetPortDriver();
    void clearSendSinceTxBufEmpty() { wrSinceTxBufEmpty = false; }
    void clearReadSinceRxBufCheck() { rdSinceRxBufCheck = false; }
    bool getReadSinceRxBufCheck() const { return rdSinceRxBufCheck; }
    bool getSendSinceTxBufEmpty() const { return wrSinceTxBufEmpty; }

    // Device arrival and removal: prints "rs232.deviceNotification" and tells the callback.
    void deviceNotification(bool arrived, const std::string& portName);

    // ---- process-wide ----

    // Loads the driver library if that has not been tried yet; true when it is loaded.
    static bool isLibraryLoaded();
    static const std::string& getLibraryName();
    static std::string getOsName();
    static std::string getOsArch();
    static int getMaxBitRate();
    static bool isOsFamilyWindows();

    // For tests: reads "SERDRV_OSNAME"/"SERDRV_OSARCH" again and recognises the platform anew
    // (capability flags, Windows family, maximum bit rate), without loading another library.
    static void reinitialisePlatform();

    // Port names and driver records (see getPortList).
    static void addPortName(const std::string& name);
    static void addPortInfo(const std::string& name, const std::string& manufacturer,
                            const std::string& description);
    // "SERIAL_PORT_LIST" when set, else the driver's discovery, else the names added so far.
    static std::vector<std::string> getPortList();
    static std::vector<PortDriverInfo> getDriverInfoList();
    // Asks the driver again for the record of one port and keeps it in place of the one held
    // (a different adapter may now answer to the name); nothing when the driver has none.
    static std::optional<PortDriverInfo> rereadPortInfo(const std::string& portName);
    static void clearPortListInfo();
    static int getPortListMode();
    static void setPortListMode(int mode);

    // Registers the receiver of device arrival and removal notices (nullptr: none).
    static void registerDeviceNotification(DeviceNotificationCallback* callback);

private:
    void openPort();
    void stopFlowControl();
    void putDataChecked(const std::uint8_t* data, int count, const char* prefix);

    int port = -1;
    bool open_ = false;
    bool isReady = false;
    std::string name = "Serial Port";
    SerialConfig config;
    std::unique_ptr<FlowControlTask> flowControl;
    std::unique_ptr<SerialServerTask> ssTask;
    bool wrSinceTxBufEmpty = false;
    bool rdSinceRxBufCheck = false;
    int waitingTimeoutRx_ = -1; // the driver's receive time-out readAvailable set last
};

} // namespace rs232
