#include "platform/KeyBackends.h"

#include "platform/win/WinKeyInjector.h"

#include <stdexcept>

namespace platform {

std::vector<KeyBackend> keyBackendsToTry(const DesktopSession&, const std::string& choice) {
    if (choice.empty() || choice == "auto" || choice == keyBackendName(KeyBackend::SendInput))
        return {KeyBackend::SendInput};
    throw std::invalid_argument("the key injection \"" + choice +
                                "\" is not available on Windows (auto or sendinput)");
}

std::unique_ptr<KeyInjector> createKeyInjector(KeyBackend backend) {
    if (backend != KeyBackend::SendInput)
        throw KeyInjectorError(std::string("the key injection ") + keyBackendName(backend) +
                               " is not available on Windows");
    return std::make_unique<WinKeyInjector>();
}

} // namespace platform
