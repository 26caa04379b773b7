// A window that takes the keyboard focus and appends every text it receives, as UTF-8, to a
// file: the target of the end-to-end keystroke tests. Usage: key_target OUTPUT READY
// It creates READY once it has the focus, and runs until killed.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: key_target OUTPUT READY\n", stderr);
        return 2;
    }
    // Dead keys compose through the input method of the locale (LC_ALL=C.UTF-8 has tables).
    std::setlocale(LC_ALL, "");
    XSetLocaleModifiers("");
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("key_target: cannot open the display\n", stderr);
        return 1;
    }
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 400, 120, 0,
                                        BlackPixel(display, screen), WhitePixel(display, screen));
    XSelectInput(display, window,
                 KeyPressMask | KeyReleaseMask | StructureNotifyMask | FocusChangeMask);
    XMapRaised(display, window);

    XIM im = XOpenIM(display, nullptr, nullptr, nullptr);
    XIC ic = im ? XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                            window, XNFocusWindow, window, nullptr)
                : nullptr;
    if (!ic) {
        std::fputs("key_target: no input context\n", stderr);
        return 1;
    }
    XSetICFocus(ic);

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out)
        return 1;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (XFilterEvent(&event, None))
            continue;
        switch (event.type) {
        case MapNotify: {
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
            XSync(display, False);
            if (std::FILE* ready = std::fopen(argv[2], "wb"))
                std::fclose(ready);
            break;
        }
        case MappingNotify:
            XRefreshKeyboardMapping(&event.xmapping);
            break;
        case KeyPress: {
            char text[64];
            KeySym keysym = NoSymbol;
            Status status = 0;
            const int n = Xutf8LookupString(ic, &event.xkey, text, sizeof text, &keysym, &status);
            if ((status == XLookupChars || status == XLookupBoth) && n > 0) {
                std::fwrite(text, 1, static_cast<std::size_t>(n), out);
                std::fflush(out);
            }
            break;
        }
        default:
            break;
        }
    }
}
