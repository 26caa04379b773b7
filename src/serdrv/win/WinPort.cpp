// Serial ports through the Win32 comm API. The settings are read back after they are set.

#include "LineCheck.h"
#include "SystemPort.h"

#include <string>
#include <windows.h>

namespace serdrv {
namespace {

std::wstring widen(const std::string& s) {
    if (s.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

int openErrorCode(DWORD err) {
    switch (err) {
    case ERROR_ACCESS_DENIED: // what another holder of a COM port causes
    case ERROR_SHARING_VIOLATION:
        return SERDRV_ERR_IN_USE;
    case ERROR_INVALID_NAME:
        return SERDRV_ERR_NOT_VALID;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return SERDRV_ERR_NO_SUCH_FILE;
    case ERROR_BUSY:
        return SERDRV_ERR_DEVICE_BUSY;
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
        return SERDRV_ERR_NO_DEVICE;
    default:
        return SERDRV_ERR_OS_BASE + static_cast<int>(err);
    }
}

class WinPort final : public SystemPort {
public:
    explicit WinPort(HANDLE h) : h_(h) {}
    ~WinPort() override { CloseHandle(h_); }

    int configure(const SerdrvConfig& c) override {
        LineSettings wanted;
        if (const int code = wantedSettings(c, wanted); code != 0)
            return code;
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(h_, &dcb))
            return SERDRV_ERR_CONFIGURE;
        dcb.BaudRate = static_cast<DWORD>(bitsPerSecond(c.bitRate));
        dcb.ByteSize = static_cast<BYTE>(5 + c.dataBits);
        static constexpr BYTE parities[] = {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY,
                                            SPACEPARITY};
        dcb.Parity = parities[c.parity];
        dcb.fParity = c.parity != 0;
        dcb.StopBits = c.stopBits == 1 ? TWOSTOPBITS : ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fAbortOnError = FALSE; // errors are collected by ClearCommError, reads go on
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        const int hs = c.handshake;
        const bool split = (hs & 0xF0) != 0;
        const bool hardIn = split ? (hs & 0x10) : hs == 2;
        const bool hardOut = split ? (hs & 0x20) : hs == 2;
        const bool dsrDtr = !split && hs == 3;
        dcb.fOutxCtsFlow = hardOut;
        dcb.fRtsControl =
            hardIn ? RTS_CONTROL_HANDSHAKE : (rts_ ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE);
        dcb.fOutxDsrFlow = dsrDtr;
        dcb.fDtrControl =
            dsrDtr ? DTR_CONTROL_HANDSHAKE : (dtr_ ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE);
        dcb.fDsrSensitivity = FALSE;
        dcb.fInX = split ? (hs & 0x40) != 0 : hs == 1;
        dcb.fOutX = split ? (hs & 0x80) != 0 : hs == 1;
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
        dcb.XonLim = 2048;
        dcb.XoffLim = 512;
        if (c.rxLen > 0 && c.txLen > 0)
            SetupComm(h_, static_cast<DWORD>(c.rxLen), static_cast<DWORD>(c.txLen));
        if (!SetCommState(h_, &dcb))
            return SERDRV_ERR_CONFIGURE;
        return verify(wanted);
    }

    int putData(const uint8_t* buffer, int count, int timeoutMs) override {
        if (failed_ || !applyTimeouts(readTimeout_, timeoutMs))
            return -1;
        DWORD n = 0;
        if (!WriteFile(h_, buffer, static_cast<DWORD>(count), &n, nullptr))
            return n > 0 ? static_cast<int>(n) : -1;
        return static_cast<int>(n);
    }

    int rxReadyCount() override {
        COMSTAT st{};
        return collect(&st) ? static_cast<int>(st.cbInQue) : -1;
    }
    int txBufCount() override {
        COMSTAT st{};
        return collect(&st) ? static_cast<int>(st.cbOutQue) : -1;
    }
    int rxFlush() override { return PurgeComm(h_, PURGE_RXCLEAR | PURGE_RXABORT) ? 0 : -1; }
    int txFlush() override { return PurgeComm(h_, PURGE_TXCLEAR | PURGE_TXABORT) ? 0 : -1; }
    int txDrain() override { return FlushFileBuffers(h_) ? 0 : -1; }

    int setDTR(bool on) override {
        if (!EscapeCommFunction(h_, on ? SETDTR : CLRDTR))
            return -1;
        dtr_ = on;
        return 0;
    }
    int setRTS(bool on) override {
        if (!EscapeCommFunction(h_, on ? SETRTS : CLRRTS))
            return -1;
        rts_ = on;
        return 0;
    }
    int sigCTS() override { return modem(MS_CTS_ON); }
    int sigDSR() override { return modem(MS_DSR_ON); }
    int sigCD() override { return modem(MS_RLSD_ON); }
    int sigRing() override { return modem(MS_RING_ON); }

    int sigBreak() override { return takeError(CE_BREAK); }
    int sigFrameErr() override { return takeError(CE_FRAME); }
    int sigOverrun() override { return takeError(CE_OVERRUN); }
    int sigParityErr() override { return takeError(CE_RXPARITY); }
    int rxOverflow() override { return takeError(CE_RXOVER); }

    int sendBreak(int milliseconds) override {
        if (!SetCommBreak(h_))
            return -1;
        Sleep(static_cast<DWORD>(milliseconds));
        return ClearCommBreak(h_) ? 0 : -1;
    }

private:
    // What the driver holds now, against what was asked for.
    int verify(const LineSettings& wanted) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(h_, &dcb))
            return SERDRV_ERR_CONFIGURE;
        LineSettings got;
        got.bitsPerSecond = static_cast<int>(dcb.BaudRate);
        got.dataBits = dcb.ByteSize;
        got.parity = dcb.Parity; // NOPARITY .. SPACEPARITY are the codes 0..4
        got.stopBits = dcb.StopBits == TWOSTOPBITS ? 2 : dcb.StopBits == ONESTOPBIT ? 1 : 0;
        got.hardwareHandshake = dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
        const int bits = refusedBits(wanted, got, false);
        return bits == 0 ? 0 : SERDRV_ERR_REFUSED + bits;
    }

    // Read timeout 0: return at once with what is there; otherwise wait up to that long for the
    // first byte. Write timeout 0: no limit.
    bool applyTimeouts(int readMs, int writeMs) {
        if (readMs == appliedRead_ && writeMs == appliedWrite_)
            return true;
        COMMTIMEOUTS t{};
        t.ReadIntervalTimeout = MAXDWORD;
        if (readMs > 0) {
            t.ReadTotalTimeoutMultiplier = MAXDWORD;
            t.ReadTotalTimeoutConstant = static_cast<DWORD>(readMs);
        }
        t.WriteTotalTimeoutConstant = writeMs > 0 ? static_cast<DWORD>(writeMs) : 0;
        if (!SetCommTimeouts(h_, &t))
            return false;
        appliedRead_ = readMs;
        appliedWrite_ = writeMs;
        return true;
    }

    int readSome(uint8_t* buffer, int count, int timeoutMs) override {
        if (failed_)
            return -1;
        readTimeout_ = timeoutMs < 0 ? 0 : timeoutMs;
        if (!applyTimeouts(readTimeout_, appliedWrite_ < 0 ? 0 : appliedWrite_))
            return fail();
        DWORD n = 0;
        if (!ReadFile(h_, buffer, static_cast<DWORD>(count), &n, nullptr))
            return fail(); // the device was removed or failed
        COMSTAT st{};
        if (!collect(&st))
            return fail();
        return static_cast<int>(n);
    }

    // Adds the errors the driver has seen since the last call to the pending set.
    bool collect(COMSTAT* st) {
        DWORD errors = 0;
        if (!ClearCommError(h_, &errors, st))
            return false;
        pending_ |= errors;
        return true;
    }

    int takeError(DWORD flag) {
        COMSTAT st{};
        if (!collect(&st))
            return -1;
        const bool set = (pending_ & flag) != 0;
        pending_ &= ~flag;
        return set ? 1 : 0;
    }

    int modem(DWORD bit) {
        DWORD status = 0;
        if (!GetCommModemStatus(h_, &status))
            return -1;
        return (status & bit) ? 1 : 0;
    }

    HANDLE h_;
    bool dtr_ = false, rts_ = false;
    DWORD pending_ = 0;
    int readTimeout_ = 0;
    int appliedRead_ = -1, appliedWrite_ = -1;
};

} // namespace

std::unique_ptr<Port> openSystemPort(const SerdrvConfig& config, int& code) {
    const std::string name = config.portName;
    // COM10 and above need the device namespace; it works for every COM port.
    const std::wstring path = name.rfind("\\\\", 0) == 0 ? widen(name) : L"\\\\.\\" + widen(name);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0 /* exclusive */, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        code = openErrorCode(GetLastError());
        return nullptr;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) { // not a serial device
        CloseHandle(h);
        code = SERDRV_ERR_NOT_VALID;
        return nullptr;
    }
    return std::make_unique<WinPort>(h);
}

} // namespace serdrv
