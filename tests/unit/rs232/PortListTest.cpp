// Port listing: the driver's sysfs walk over a tree the test builds, simulated devices, the
// "SERIAL_PORT_LIST" property, the COM ordering, driver records and friendly names.

#include "SerialTestSupport.h"
#include "serwedge/util/FriendlyPortUtil.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using rs232::SerialPortLocal;
using serialtest::ioError;
using serwedge::util::FriendlyPortUtil;
using Names = std::vector<std::string>;

namespace {

// A sysfs tree with the shapes the kernel gives: USB adapters with and without descriptors, a
// CDC-ACM device, 8250 ports with and without a UART, and entries with no device behind them.
class FakeSysfs {
public:
    FakeSysfs() {
        root = fs::temp_directory_path() / ("serdrv-sysfs-" + std::to_string(::getpid()));
        fs::remove_all(root);
        const fs::path usb = "devices/pci0000:00/0000:00:14.0/usb1";
        usbTty("ttyUSB0", usb / "1-1", "1-1:1.0", "ftdi_sio", "FT232R USB UART", "FTDI");
        usbTty("ttyUSB1", usb / "1-2", "1-2:1.0", "pl2303", "", ""); // no descriptors
        acmTty("ttyACM0", usb / "1-3", "Arduino Uno", "Arduino (www.arduino.cc)");
        uart("ttyAMA0", "4");
        uart("ttyAMA1", "0"); // no UART behind it
        uart("ttyAMA10", "4");
        uart("ttyAMA2", "4");
        serialBaseUart("ttyAMA3");
        for (const char* bare : {"ptmx", "tty0", "console"}) // pseudo-terminal master, consoles
            fs::create_directories(root / "devices/virtual/tty" / bare);
        for (const char* bare : {"ptmx", "tty0", "console"})
            link("devices/virtual/tty/" + std::string(bare), "class/tty/" + std::string(bare));
    }
    ~FakeSysfs() { fs::remove_all(root); }

    fs::path root;

private:
    void write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text << "\n";
    }
    void link(const fs::path& target, const fs::path& at) {
        fs::create_directories((root / at).parent_path());
        fs::create_directory_symlink(root / target, root / at);
    }
    void usbTty(const std::string& name, const fs::path& dev, const std::string& intf,
                const std::string& driver, const std::string& product, const std::string& mfgr) {
        write(root / dev / "idVendor", "0403");
        write(root / dev / "idProduct", "6001");
        if (!product.empty())
            write(root / dev / "product", product);
        if (!mfgr.empty())
            write(root / dev / "manufacturer", mfgr);
        const fs::path port = dev / intf / name;
        fs::create_directories(root / "bus/usb-serial/drivers" / driver);
        link("bus/usb-serial/drivers/" + driver, port / "driver");
        fs::create_directories(root / port / "tty" / name);
        link(port, port / "tty" / name / "device");
        link(port / "tty" / name, "class/tty/" + name);
    }
    void acmTty(const std::string& name, const fs::path& dev, const std::string& product,
                const std::string& mfgr) {
        write(root / dev / "idVendor", "2341");
        write(root / dev / "product", product);
        write(root / dev / "manufacturer", mfgr);
        const fs::path intf = dev / (dev.filename().string() + ":1.0");
        fs::create_directories(root / "bus/usb/drivers/cdc_acm");
        fs::create_directories(root / intf / "tty" / name);
        link("bus/usb/drivers/cdc_acm", intf / "driver");
        link(intf, intf / "tty" / name / "device");
        link(intf / "tty" / name, "class/tty/" + name);
    }
    // Newer kernels: the tty hangs below serial_core's port and ctrl devices.
    void serialBaseUart(const std::string& name) {
        const fs::path pnp = "devices/pnp0/00:01";
        const fs::path ctrl = pnp / "00:01:0";
        const fs::path port = ctrl / "00:01:0.0";
        for (const char* d : {"bus/serial-base/drivers/port", "bus/serial-base/drivers/ctrl",
                              "bus/pnp/drivers/serial"})
            fs::create_directories(root / d);
        fs::create_directories(root / port / "tty" / name);
        link("bus/pnp/drivers/serial", pnp / "driver");
        link("bus/serial-base/drivers/ctrl", ctrl / "driver");
        link("bus/serial-base/drivers/port", port / "driver");
        write(root / port / "tty" / name / "type", "4");
        link(port, port / "tty" / name / "device");
        link(port / "tty" / name, "class/tty/" + name);
    }
    void uart(const std::string& name, const std::string& type) {
        const fs::path dev = "devices/platform/serial8250";
        fs::create_directories(root / "bus/platform/drivers/serial8250");
        if (!fs::exists(root / dev / "driver"))
            link("bus/platform/drivers/serial8250", dev / "driver");
        const fs::path tty = dev / "tty" / name;
        write(root / tty / "type", type);
        link(dev, tty / "device");
        link(tty, "class/tty/" + name);
    }
};

struct Listed {
    Names names;
    std::vector<std::array<std::string, 3>> info;
};

Listed driverList() {
    Listed l;
    SerGetPortList([](const char* n, void* c) { static_cast<Listed*>(c)->names.push_back(n); },
                   [](const char* n, const char* m, const char* d, void* c) {
                       static_cast<Listed*>(c)->info.push_back({n, m, d});
                   },
                   &l);
    return l;
}

class PortListTest : public serialtest::SerialFixture {
protected:
    void SetUp() override {
        SerialFixture::SetUp();
        ::setenv("SERDRV_SYSFS_ROOT", sysfs.root.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("SERDRV_SYSFS_ROOT");
        SerialFixture::TearDown();
    }
    // An empty sysfs: only simulated devices are listed.
    void noSystemPorts() { ::setenv("SERDRV_SYSFS_ROOT", "/nonexistent-sysfs", 1); }

    FakeSysfs sysfs;
};

} // namespace

TEST_F(PortListTest, sysfsWalkListsRealPortsInNaturalOrderWithDriverData) {
    const Listed l = driverList();
    EXPECT_EQ(l.names, (Names{"/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyAMA2", "/dev/ttyAMA3",
                              "/dev/ttyAMA10", "/dev/ttyUSB0", "/dev/ttyUSB1"}));
    ASSERT_EQ(l.info.size(), 7u);
    using Info = std::array<std::string, 3>;
    EXPECT_EQ(l.info[0], (Info{"/dev/ttyACM0", "Arduino (www.arduino.cc)", "Arduino Uno"}));
    EXPECT_EQ(l.info[1],
              (Info{"/dev/ttyAMA0", "(Standard port types)", "Serial port (serial8250)"}));
    EXPECT_EQ(l.info[3], (Info{"/dev/ttyAMA3", "(Standard port types)", "Serial port (serial)"}));
    EXPECT_EQ(l.info[5], (Info{"/dev/ttyUSB0", "FTDI", "FT232R USB UART"}));
    EXPECT_EQ(l.info[6], (Info{"/dev/ttyUSB1", "unknown", "USB serial adapter 0403:6001"}));
}

TEST_F(PortListTest, systemConsolesAreLeftOut) {
    // The kernel names its consoles in one line, separated by blanks.
    std::ofstream(sysfs.root / "class/tty/console/active") << "tty0 ttyAMA2 ttyUSB1\n";
    EXPECT_EQ(driverList().names, (Names{"/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyAMA3",
                                         "/dev/ttyAMA10", "/dev/ttyUSB0"}));
}

TEST_F(PortListTest, simulatedDevicesComeFirstAndStandInForRealOnes) {
    serdrv_sim_create("/dev/ttyUSB0");
    serdrv_sim_create("COM3");
    serdrv_sim_create("gone");
    serdrv_sim_unplug("gone");
    const Listed l = driverList();
    EXPECT_EQ(l.names, (Names{"/dev/ttyUSB0", "COM3", "/dev/ttyACM0", "/dev/ttyAMA0",
                              "/dev/ttyAMA2", "/dev/ttyAMA3", "/dev/ttyAMA10", "/dev/ttyUSB1"}));
    EXPECT_EQ(l.info[0][2], "Simulated serial port");
}

TEST_F(PortListTest, linuxListsInDriverOrderAndKeepsDriverRecords) {
    serdrv_sim_create("COM10");
    serdrv_sim_create("COM2");
    EXPECT_EQ(SerialPortLocal::getPortList(),
              (Names{"COM2", "COM10", "/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyAMA2",
                     "/dev/ttyAMA3", "/dev/ttyAMA10", "/dev/ttyUSB0", "/dev/ttyUSB1"}));
    const auto info = SerialPortLocal::getDriverInfoList();
    ASSERT_GE(info.size(), 8u);
    FriendlyPortUtil::update();
    EXPECT_TRUE(FriendlyPortUtil::portInfoListIsPopulated());
    EXPECT_EQ(FriendlyPortUtil::getFriendlyPortName("/dev/ttyUSB0"),
              "/dev/ttyUSB0: FT232R USB UART - FTDI");
    EXPECT_EQ(FriendlyPortUtil::getUnfriendlyPortName("/dev/ttyUSB0: FT232R USB UART - FTDI"),
              "/dev/ttyUSB0");
    EXPECT_EQ(FriendlyPortUtil::getFriendlyPortName("COM2"),
              "COM2: Simulated serial port - Tallyra");
    // Names without a record pass through both ways; the match is exact.
    EXPECT_EQ(FriendlyPortUtil::getFriendlyPortName("/dev/ttyUSB9"), "/dev/ttyUSB9");
    EXPECT_EQ(FriendlyPortUtil::getUnfriendlyPortName("/dev/ttyUSB9"), "/dev/ttyUSB9");
    EXPECT_EQ(FriendlyPortUtil::getFriendlyPortName("/DEV/TTYUSB0"), "/DEV/TTYUSB0");
    const Names friendly = FriendlyPortUtil::getFriendlyPortList();
    EXPECT_NE(std::find(friendly.begin(), friendly.end(),
                        "/dev/ttyACM0: Arduino Uno - Arduino (www.arduino.cc)"),
              friendly.end());
}

TEST_F(PortListTest, windowsOrdersComPortsByNumberThenTheOthers) {
    forceOs("Windows 10");
    noSystemPorts();
    for (const char* n : {"AUX", "COM10", "COM2", "com4", "COM1", "COMX", "Bluetooth"})
        serdrv_sim_create(n);
    EXPECT_EQ(SerialPortLocal::getPortList(),
              (Names{"COM1", "COM2", "COM4", "COM10", "AUX", "Bluetooth", "com4"}));
}

TEST_F(PortListTest, propertyListOverridesDiscovery) {
    noSystemPorts();
    EXPECT_EQ(SerialPortLocal::getPortList(), Names{}); // discovery: nothing at all
    props::set("SERIAL_PORT_LIST", "COM1;COM2:COM3");
    EXPECT_EQ(SerialPortLocal::getPortList(), (Names{"COM1", "COM2", "COM3"}));
    props::set("SERIAL_PORT_LIST", " com2;COM4;;COM1 ");
    EXPECT_EQ(SerialPortLocal::getPortList(), (Names{"COM1", "COM2", "COM3", "COM4"}))
        << "added to the list, case-insensitive duplicates skipped";
}

TEST_F(PortListTest, aShortPropertyIsIgnoredAndTheDriverAsked) {
    serdrv_sim_create("COM7");
    noSystemPorts();
    for (const char* value : {"COM1", "  COM1  ", ""}) {
        props::set("SERIAL_PORT_LIST", value);
        EXPECT_EQ(SerialPortLocal::getPortList(), Names{"COM7"}) << value;
    }
}

TEST_F(PortListTest, withoutDiscoveryTheAddedNamesAreReturned) {
    noSystemPorts();
    SerialPortLocal::getPortList(); // empties the name list
    forceOs("Plan 9");
    takeDiagnostics();
    EXPECT_EQ(SerialPortLocal::getPortList(), Names{});
    const auto hints = takeDiagnostics();
    ASSERT_GE(hints.size(), 3u);
    EXPECT_EQ(hints[0], "getPortList: port discovery not currently supported on this platform.");
    EXPECT_EQ(hints[1], "Options:");
    EXPECT_EQ(hints[2], "A) addPortName can be used to build a list of device names ");

    SerialPortLocal::addPortName("/dev/ttyUSB3");
    SerialPortLocal::addPortName("/DEV/TTYUSB3");
    SerialPortLocal::addPortName("/dev/ttyACM1");
    EXPECT_EQ(SerialPortLocal::getPortList(), (Names{"/dev/ttyUSB3", "/dev/ttyACM1"}));
    EXPECT_EQ(takeDiagnostics(), Names{"getPortList: using list created with addPortName"});
    EXPECT_EQ(ioError([] { SerialPortLocal::getDriverInfoList(); }),
              "Not supported on this platform");
    EXPECT_EQ(ioError([] { FriendlyPortUtil::update(); }), "Not supported on this platform");
}

TEST_F(PortListTest, aPortKeepsItsFirstDriverRecord) {
    SerialPortLocal::addPortInfo("COM5", "FTDI", "USB Serial Port");
    SerialPortLocal::addPortInfo("com5", "Other", "Other");
    SerialPortLocal::getPortList();
    FriendlyPortUtil::update();
    EXPECT_EQ(FriendlyPortUtil::getFriendlyPortName("COM5"), "COM5: USB Serial Port - FTDI");
    SerialPortLocal::clearPortListInfo();
    FriendlyPortUtil::update();
    EXPECT_EQ(FriendlyPortUtil::getFriendlyPortName("COM5"), "COM5");
}

TEST(PortListFreshProcess, driverRecordsNeedAListingFirst) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            props::initFromSystem();
            props::set("SERDRV_OSNAME", "Linux");
            props::set("SERDRV_OSARCH", "amd64");
            rs232::setDiagnosticSink([](const std::string&) {});
            const std::string a = ioError([] { FriendlyPortUtil::update(); });
            const std::string b = ioError([] { SerialPortLocal::getDriverInfoList(); });
            const bool ok = a == "Must call SerialPortLocal.getPortList method first" && a == b &&
                            !FriendlyPortUtil::portInfoListIsPopulated() &&
                            FriendlyPortUtil::getFriendlyPortList().empty();
            std::fprintf(stderr, "%s / %s\n", a.c_str(), b.c_str());
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
