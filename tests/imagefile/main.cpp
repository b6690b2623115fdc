// Qt
#include <QGuiApplication>

// The groups of picture-file tests; each returns QTest::qExec's result.
int runNamesTest(int argc, char** argv);
int runBmpTest(int argc, char** argv);
int runJpegTest(int argc, char** argv);
int runIconTest(int argc, char** argv);
int runSaveTest(int argc, char** argv);

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runNamesTest, runBmpTest, runJpegTest, runIconTest, runSaveTest})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
