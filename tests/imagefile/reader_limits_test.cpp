// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QImageReader>

// Local
#include "reader_limits.h"
#include "test_support.h"

// Std
#include <algorithm>

using namespace pelmora;
using namespace pelmora::test;

namespace {

// Half the machine's memory in megabytes, from the kernel's own count,
// within 64 MB and 1 TB.
int halfTheMemoryMb() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression total(QStringLiteral("^MemTotal:\\s+(\\d+) kB"), QRegularExpression::MultilineOption);
    const qint64 kb = total.match(QString::fromLatin1(meminfo.readAll())).captured(1).toLongLong();
    return int(std::clamp<qint64>((kb >> 10) / 2, 64, qint64(1) << 30));
}

} // namespace

// What the readers may spend on the size a file declares.
class ReaderLimitsTest : public QObject {
    Q_OBJECT

private slots:
    // Up to 16M pixels anything goes; beyond, a byte of the file for every
    // 1024 pixels.
    void declaredSizeMustFitTheData_data() {
        QTest::addColumn<qint64>("width");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<bool>("fits");
        QTest::newRow("16M pixels, no data") << qint64(4096) << qint64(4096) << qint64(0) << true;
        QTest::newRow("a row more, no data") << qint64(4096) << qint64(4097) << qint64(0) << false;
        // 4096 x 4097 / 1024 = 16388
        QTest::newRow("a row more, a byte short") << qint64(4096) << qint64(4097) << qint64(16387) << false;
        QTest::newRow("a row more, enough bytes") << qint64(4096) << qint64(4097) << qint64(16388) << true;
        QTest::newRow("one pixel over 16M, a byte per whole 1024")
            << qint64(16777217) << qint64(1) << qint64(16384) << true;
        QTest::newRow("one pixel over 16M, a byte short") << qint64(16777217) << qint64(1) << qint64(16383) << false;
        // 60000 x 60000 / 1024 = 3515625
        QTest::newRow("60000 square, a byte short") << qint64(60000) << qint64(60000) << qint64(3515624) << false;
        QTest::newRow("60000 square, enough bytes") << qint64(60000) << qint64(60000) << qint64(3515625) << true;
        QTest::newRow("the widest square in a gigabyte")
            << qint64(0x7FFFFFFF) << qint64(0x7FFFFFFF) << (qint64(1) << 30) << false;
    }
    void declaredSizeMustFitTheData() {
        QFETCH(qint64, width);
        QFETCH(qint64, height);
        QFETCH(qint64, bytes);
        QTEST(declaredSizeFitsData(width, height, bytes), "fits");
    }

    // Qt's readers may make pictures of up to half the memory (the batch
    // tests read a PNG beyond Qt's own default of 256 MB).
    void qtReadersMayUseHalfTheMemory() {
        limitImageReaders();
        QCOMPARE(QImageReader::allocationLimit(), halfTheMemoryMb());
    }
};

PELMORA_TEST_GROUP(ReaderLimitsTest)

#include "reader_limits_test.moc"
