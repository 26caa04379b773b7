// The window that receives typed keys in the Windows end-to-end tests: an edit control that
// takes the focus and logs, one line per message and flushed at once, what it is sent:
//   D vk / U vk    WM_KEYDOWN / WM_KEYUP (virtual-key code, decimal)
//   SD vk / SU vk  WM_SYSKEYDOWN / WM_SYSKEYUP (keys with ALT held)
//   C code         WM_CHAR (UTF-16 code unit, decimal)
//   X code         WM_DEADCHAR
//   S code         WM_SYSCHAR
//   G code         a key pressed with CONTROL and ALT held (Windows' AltGr): the character the
//                  keyboard layout gives that chord (VkKeyScanEx read backwards), if any
// Usage: key_target_win LOG_FILE READY_FILE. READY_FILE is created once the edit control has
// the keyboard focus.

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

FILE* logFile = nullptr;
WNDPROC editProc = nullptr;
HWND edit = nullptr;

void logLine(const char* kind, unsigned value) {
    std::fprintf(logFile, "%s %u\n", kind, value);
    std::fflush(logFile);
}

bool held(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}

// The printable ASCII character that the layout types with vk under CONTROL and ALT (and
// SHIFT when held), or 0.
unsigned altGrCharacter(unsigned vk) {
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || !held(VK_CONTROL) || !held(VK_MENU))
        return 0;
    const HKL layout = GetKeyboardLayout(0);
    const int modifiers = 6 | (held(VK_SHIFT) ? 1 : 0);
    for (wchar_t c = 32; c < 127; ++c) {
        const SHORT r = VkKeyScanExW(c, layout);
        if (r != -1 && LOBYTE(r) == vk && HIBYTE(r) == modifiers)
            return c;
    }
    return 0;
}

LRESULT CALLBACK loggingEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_KEYDOWN:
        logLine("D", static_cast<unsigned>(wp));
        if (const unsigned c = altGrCharacter(static_cast<unsigned>(wp)))
            logLine("G", c);
        break;
    case WM_KEYUP:
        logLine("U", static_cast<unsigned>(wp));
        break;
    case WM_SYSKEYDOWN:
        logLine("SD", static_cast<unsigned>(wp));
        break;
    case WM_SYSKEYUP:
        logLine("SU", static_cast<unsigned>(wp));
        break;
    case WM_CHAR:
        logLine("C", static_cast<unsigned>(wp));
        break;
    case WM_DEADCHAR:
        logLine("X", static_cast<unsigned>(wp));
        break;
    case WM_SYSCHAR:
        logLine("S", static_cast<unsigned>(wp));
        return 0; // no menu beep for ALT+key
    default:
        break;
    }
    return CallWindowProcW(editProc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETFOCUS:
        SetFocus(edit);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3)
        return 2;
    logFile = _wfopen(argv[1], L"wb");
    if (!logFile)
        return 3;

    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TallyraKeyTarget";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Key target", WS_OVERLAPPEDWINDOW, 40, 40,
                                  600, 120, nullptr, nullptr, instance, nullptr);
    edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10,
                           10, 560, 30, window, nullptr, instance, nullptr);
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(loggingEditProc)));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetFocus(edit);

    bool announced = false;
    MSG msg;
    SetTimer(window, 1, 50, nullptr);
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!announced && GetFocus() == edit) {
            if (FILE* ready = _wfopen(argv[2], L"w")) {
                std::fclose(ready);
                announced = true;
            }
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(logFile);
    return 0;
}
