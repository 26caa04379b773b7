#pragma once

// A terminal device's settings through termios2: any bit rate the device can make, read back
// as the device holds it, and the whole state kept at open so that close can put it back.

#include "LineCheck.h"

#include <memory>

namespace serdrv {

class Terminal final : public LineDevice {
public:
    explicit Terminal(int fd);
    ~Terminal() override;
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    bool apply(const LineSettings& settings) override;
    bool read(LineSettings& out) override;

    // Keeps the settings the device has now; false when they cannot be read.
    bool save();
    // Puts the kept settings back (nothing when none were kept).
    void restore();

private:
    struct Saved;
    int fd_;
    std::unique_ptr<Saved> saved_;
};

} // namespace serdrv
