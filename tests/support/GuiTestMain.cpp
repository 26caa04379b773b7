// Leak-checker suppressions for the widget tests, picked up by LeakSanitizer when the test
// program defines this hook (an ordinary unused function in other builds).
//
// - libfontconfig: Qt's font database keeps fontconfig's configuration for the life of the
//   process and fontconfig does not free all of it at exit; nothing of ours is involved.

extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
