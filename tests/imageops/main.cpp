// Qt
#include <QGuiApplication>

int runBitmapTests(int argc, char** argv);
int runImageDocumentTests(int argc, char** argv);
int runOutlineFillTests(int argc, char** argv);
int runRotateStretchTests(int argc, char** argv);

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runBitmapTests, runImageDocumentTests, runOutlineFillTests, runRotateStretchTests})
        failures += run(argc, argv);
    return failures;
}
