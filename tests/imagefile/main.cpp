// Qt
#include <QGuiApplication>

// Local
#include "test_runners.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runNamesTests, runBmpTests, runJpegTests, runIconTests, runSaveTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
