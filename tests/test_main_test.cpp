// SPDX-License-Identifier: GPL-2.0-or-later
// A test function that lets an exception escape: the run must end at once as
// a failure naming it (CTest reads the output), not abort.

// Local
#include "test_main.h"

// Std
#include <stdexcept>

class EscapingExceptionTest : public QObject {
    Q_OBJECT

private slots:
    void throws() { throw std::runtime_error("escaped from a test"); }
};

PELMORA_TEST_MAIN(EscapingExceptionTest)
#include "test_main_test.moc"
