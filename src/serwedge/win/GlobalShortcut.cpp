// The global shortcut on Windows: a hot key registered for the user-interface thread, whose
// WM_HOTKEY messages a native event filter picks out of Qt's event loop.

#include "serwedge/GlobalShortcut.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace serwedge {
namespace {

constexpr int kHotKeyId = 0x7A11; // any id the program does not use otherwise

class WinGlobalShortcut : public GlobalShortcut, public QAbstractNativeEventFilter {
public:
    explicit WinGlobalShortcut(std::function<void()> pressed) : pressed_(std::move(pressed)) {}

    ~WinGlobalShortcut() override {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        if (registered_)
            UnregisterHotKey(nullptr, kHotKeyId);
    }

    bool registerKey() {
        registered_ =
            RegisterHotKey(nullptr, kHotKeyId, MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT, VK_F12) != 0;
        if (registered_)
            QCoreApplication::instance()->installNativeEventFilter(this);
        return registered_;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WM_HOTKEY || msg->wParam != kHotKeyId)
            return false;
        if (pressed_)
            pressed_();
        return true;
    }

private:
    std::function<void()> pressed_;
    bool registered_ = false;
};

} // namespace

std::unique_ptr<GlobalShortcut> GlobalShortcut::create(std::function<void()> pressed,
                                                       const char*& refusalKey) {
    auto shortcut = std::make_unique<WinGlobalShortcut>(std::move(pressed));
    if (!shortcut->registerKey()) {
        refusalKey = "shortcut.taken";
        return nullptr;
    }
    return shortcut;
}

} // namespace serwedge
