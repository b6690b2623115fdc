// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QGuiApplication>

// The groups of picture-file tests; each returns QTest::qExec's result.
using Group = int(int argc, char** argv);
Group runFileIoTest, runBmpTest, runJpegTest, runIconTest, runCorpusPixelsTest, runBmpStreamTest,
    runReaderLimitsTest;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runFileIoTest, runBmpTest, runJpegTest, runIconTest, runCorpusPixelsTest, runBmpStreamTest,
                     runReaderLimitsTest})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
