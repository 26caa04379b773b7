// The main() of the tests that need Qt's event loop but no widgets: one application object for the
// whole test program, made before the first test.

#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Never deleted: worker threads a test leaves behind may still refer to it at exit.
    // Qt keeps a reference to the count for the object's whole life, which outlasts main().
    static int qtArgc = argc;
    new QCoreApplication(qtArgc, argv);
    return RUN_ALL_TESTS();
}
