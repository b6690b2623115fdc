// Qt
#include <QGuiApplication>
#include <QTest>

// Local
#include "bmp_test.h"
#include "icon_test.h"
#include "jpeg_test.h"
#include "names_test.h"
#include "save_test.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    int failures = 0;
    NamesTest names;
    failures += QTest::qExec(&names, argc, argv);
    BmpTest bmp;
    failures += QTest::qExec(&bmp, argc, argv);
    JpegTest jpeg;
    failures += QTest::qExec(&jpeg, argc, argv);
    IconTest icon;
    failures += QTest::qExec(&icon, argc, argv);
    SaveTest save;
    failures += QTest::qExec(&save, argc, argv);
    return failures == 0 ? 0 : 1;
}
