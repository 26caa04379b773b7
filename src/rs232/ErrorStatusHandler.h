#pragma once

namespace rs232 {

// Receiver of asynchronous error status from the driver.
class ErrorStatusHandler {
public:
    virtual ~ErrorStatusHandler() = default;
    virtual void errorStatus(int status) = 0;
};

} // namespace rs232
