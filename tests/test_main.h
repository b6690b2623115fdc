// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// How every test program runs its tests. QtTest marks a test function that
// lets an exception escape as failed, then throws it on out of qExec; left
// uncaught, it aborts the program into QtTest's crash handler, which can
// spin until CTest's time-out. Caught here, it ends the run at once as a
// failure, with its message.

// Qt
#include <QTest>

// Std
#include <cstdio>
#include <exception>

namespace pelmora::test {

// QTest::qExec, for programs that make their own application.
inline int runTests(QObject& test, int argc, char** argv) {
    try {
        return QTest::qExec(&test, argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "   Exception: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "   Exception of an unknown type\n");
    }
    return 1;
}

} // namespace pelmora::test

// QTEST_MAIN's application and set-up, then runTests.
#define PELMORA_TEST_MAIN(TestObject)                      \
    int main(int argc, char** argv) {                      \
        QTEST_MAIN_SETUP()                                 \
        TestObject test;                                   \
        QTEST_SET_MAIN_SOURCE_PATH                         \
        return pelmora::test::runTests(test, argc, argv);  \
    }
