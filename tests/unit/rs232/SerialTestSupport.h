#pragma once

// Shared set-up of the serial tests: a known platform, captured diagnostics, no simulated
// devices left over from another test.

#include "props/Props.h"
#include "rs232/Diagnostics.h"
#include "rs232/IOException.h"
#include "rs232/SerialPortLocal.h"
#include "serdrv_sim.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace serialtest {

// Text of the IOException that f throws, or "(no error)".
inline std::string ioError(const std::function<void()>& f) {
    try {
        f();
    } catch (const rs232::IOException& e) {
        return e.what();
    }
    return "(no error)";
}

class SerialFixture : public ::testing::Test {
protected:
    void SetUp() override {
        props::initFromSystem();
        props::set("SERDRV_OSNAME", "Linux");
        props::set("SERDRV_OSARCH", "amd64");
        props::remove("SERIAL_PORT_LIST");
        rs232::setDiagnosticSink([this](const std::string& line) {
            std::lock_guard lock(mutex);
            diagnostics.push_back(line);
        });
        ASSERT_TRUE(rs232::SerialPortLocal::isLibraryLoaded());
        rs232::SerialPortLocal::reinitialisePlatform();
        serdrv_sim_destroy_all();
    }

    void TearDown() override {
        serdrv_sim_destroy_all();
        props::set("SERDRV_OSNAME", "Linux");
        rs232::SerialPortLocal::reinitialisePlatform();
        rs232::setDiagnosticSink({});
    }

    // Recognises the platform anew as if the OS had that name.
    static void forceOs(const std::string& os) {
        props::set("SERDRV_OSNAME", os);
        rs232::SerialPortLocal::reinitialisePlatform();
    }

    static rs232::SerialConfig config(const std::string& name) { return rs232::SerialConfig(name); }

    static void push(const char* device, const std::string& bytes) {
        serdrv_sim_push(device, reinterpret_cast<const uint8_t*>(bytes.data()),
                        static_cast<int32_t>(bytes.size()));
    }

    static std::string written(const char* device) {
        uint8_t buf[4096];
        const int n = serdrv_sim_read_written(device, buf, sizeof buf);
        return n > 0 ? std::string(reinterpret_cast<char*>(buf), static_cast<size_t>(n)) : "";
    }

    std::vector<std::string> takeDiagnostics() {
        std::lock_guard lock(mutex);
        return std::exchange(diagnostics, {});
    }

    std::mutex mutex;
    std::vector<std::string> diagnostics;
};

} // namespace serialtest
