// The main() of the widget tests: one application object for the whole test program, made before
// the first test, on the offscreen platform unless the environment names another one (test
// discovery runs the program without the tests' environment).
//
// Also the leak-checker suppressions for these tests, picked up by LeakSanitizer when the program
// defines this hook (an ordinary unused function in other builds):
// - libfontconfig: Qt's font database keeps fontconfig's configuration for the life of the
//   process and fontconfig does not free all of it at exit; nothing of ours is involved.

#include <gtest/gtest.h>

#include <QApplication>

extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // Never deleted: windows and worker threads a test leaves behind may still refer to it at exit.
    // Qt keeps a reference to the count for the object's whole life, which outlasts main().
    static int qtArgc = argc;
    new QApplication(qtArgc, argv);
    return RUN_ALL_TESTS();
}
