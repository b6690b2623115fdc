// Qt
#include <QTest>

// Local
#include "imageops_test.h"

QTEST_MAIN(ImageOpsTest)
