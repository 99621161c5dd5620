#pragma once

#include <QTest>

// Several test classes share one executable per area. Each file names its
// class with VELMAR_TEST_MAIN; the executable runs the one whose file stem
// (tst_network) is its first argument, or all of them.
namespace testmain {
using Run = int (*)(int argc, char **argv);
bool add(const char *file, Run run);
// Runs what the arguments ask for; the application object exists already.
int run(int argc, char **argv);
} // namespace testmain

#define VELMAR_TEST_MAIN(TestClass)                                                                \
    namespace {                                                                                    \
    const bool registered = testmain::add(__FILE__, [](int argc, char **argv) {                    \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    });                                                                                            \
    }
