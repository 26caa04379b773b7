// Kept apart from the code that uses <termios.h>: the kernel's termios2 and the C library's
// termios cannot be declared in one translation unit.

#include "Terminal.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace serdrv {
namespace {

struct StandardRate {
    unsigned code;
    int bitsPerSecond;
};

constexpr StandardRate kRates[] = {
    {B50, 50},           {B75, 75},           {B110, 110},         {B134, 134},
    {B150, 150},         {B200, 200},         {B300, 300},         {B600, 600},
    {B1200, 1200},       {B1800, 1800},       {B2400, 2400},       {B4800, 4800},
    {B9600, 9600},       {B19200, 19200},     {B38400, 38400},     {B57600, 57600},
    {B115200, 115200},   {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
    {B576000, 576000},   {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000},
    {B1500000, 1500000}, {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000},
    {B3500000, 3500000}, {B4000000, 4000000},
};

int ioctlRetrying(int fd, unsigned long request, termios2* t) {
    int r;
    do {
        r = ::ioctl(fd, request, t);
    } while (r != 0 && errno == EINTR);
    return r;
}

} // namespace

struct Terminal::Saved {
    termios2 settings;
};

Terminal::Terminal(int fd) : fd_(fd) {}
Terminal::~Terminal() = default;

bool Terminal::apply(const LineSettings& s) {
    termios2 t{};
    if (ioctlRetrying(fd_, TCGETS2, &t) != 0)
        return false;
    // Raw: no line editing, no echo, no signals, no translation of CR and LF, 8 bits through.
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                        IXOFF | IXANY | IGNPAR);
    // A byte with a parity or framing error arrives marked (0xFF 0x00 byte), so that the
    // indication can be tied to the byte it belongs to.
    t.c_iflag |= INPCK | PARMRK;
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS |
                                        CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= CLOCAL | CREAD;
    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[s.dataBits >= 5 && s.dataBits <= 8 ? s.dataBits - 5 : 3];
    switch (s.parity) {
    case 1:
        t.c_cflag |= PARENB | PARODD;
        break;
    case 2:
        t.c_cflag |= PARENB;
        break;
    case 3: // mark
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 4: // space
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (s.stopBits == 2)
        t.c_cflag |= CSTOPB;
    if (s.hardwareHandshake)
        t.c_cflag |= CRTSCTS;
    if (s.xonXoffIn)
        t.c_iflag |= IXOFF;
    if (s.xonXoffOut)
        t.c_iflag |= IXON;
    // A standard rate by its code, so that tools reading the old termios see it too; any other
    // rate as a number.
    unsigned code = BOTHER;
    for (const StandardRate& r : kRates)
        if (r.bitsPerSecond == s.bitsPerSecond)
            code = r.code;
    t.c_cflag |= code; // the input rate follows the output rate (its field stays 0)
    t.c_ispeed = t.c_ospeed = static_cast<speed_t>(s.bitsPerSecond);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ioctlRetrying(fd_, TCSETS2, &t) == 0;
}

bool Terminal::read(LineSettings& out) {
    termios2 t{};
    if (ioctlRetrying(fd_, TCGETS2, &t) != 0)
        return false;
    // The kernel fills c_ospeed with the rate the driver made, whichever way it was set.
    out.bitsPerSecond = static_cast<int>(t.c_ospeed);
    switch (t.c_cflag & CSIZE) {
    case CS5:
        out.dataBits = 5;
        break;
    case CS6:
        out.dataBits = 6;
        break;
    case CS7:
        out.dataBits = 7;
        break;
    default:
        out.dataBits = 8;
        break;
    }
    if (!(t.c_cflag & PARENB))
        out.parity = 0;
    else if (t.c_cflag & CMSPAR)
        out.parity = (t.c_cflag & PARODD) ? 3 : 4;
    else
        out.parity = (t.c_cflag & PARODD) ? 1 : 2;
    out.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    out.hardwareHandshake = (t.c_cflag & CRTSCTS) != 0;
    out.xonXoffIn = (t.c_iflag & IXOFF) != 0;
    out.xonXoffOut = (t.c_iflag & IXON) != 0;
    return true;
}

bool Terminal::save() {
    auto saved = std::make_unique<Saved>();
    if (ioctlRetrying(fd_, TCGETS2, &saved->settings) != 0)
        return false;
    saved_ = std::move(saved);
    return true;
}

void Terminal::restore() {
    if (saved_)
        ioctlRetrying(fd_, TCSETS2, &saved_->settings);
}

} // namespace serdrv
