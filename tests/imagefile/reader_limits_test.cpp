// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QBuffer>
#include <QImageReader>

// Local
#include "picture_memory.h"
#include "qt_image_file.h"
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

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
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
    // tests read a PNG beyond Qt's own default of 256 MB), shared among the
    // pictures read at once.
    void qtReadersMayUseHalfTheMemory_data() {
        QTest::addColumn<int>("atOnce");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
    }
    void qtReadersMayUseHalfTheMemory() {
        QFETCH(int, atOnce);
        sharePictureMemory(atOnce);
        limitImageReaders();
        const int limit = QImageReader::allocationLimit();
        const qint64 cap = pictureMemoryCap();
        sharePictureMemory(1);
        QCOMPARE(limit, std::max(64, halfTheMemoryMb() / atOnce));
        QVERIFY(cap * atOnce <= physicalMemory() / 2 && cap * atOnce > physicalMemory() / 2 - atOnce);
    }

    // Qt's kinds follow the rule before any pixel is decoded.
    void qtKindsMustFitTheirData_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QtImageKind>("kind");
        QTest::addColumn<QString>("error");
        const QImage flat = [] {
            QImage image(4096, 4097, QImage::Format_Mono);
            image.fill(1);
            return image;
        }();
        QTest::newRow("16M pixels in a few kilobytes") << encoded(flat.copy(0, 0, 4096, 4096), "png")
                                                       << QtImageKind::Png << QString();
        QTest::newRow("a row more") << encoded(flat, "png") << QtImageKind::Png << "PNG イメージが不正です";
        QTest::newRow("a row more, a byte per 1024 pixels")
            << encoded(flat, "png").leftJustified(16388, '\0') << QtImageKind::Png << QString();
        // A 16000 x 16000 image of two colours whose data is a clear code,
        // one pixel and the end code.
        QTest::newRow("16000 square GIF in 35 bytes")
            << QByteArray::fromHex("474946383961" "803e803e" "800000" "000000ffffff" "2c" "00000000" "803e803e" "00"
                                   "02" "024401" "00" "3b")
            << QtImageKind::Gif << "GIF イメージが不正です";
        // A screen of 16000 x 12000 holding an image of two pixels.
        QTest::newRow("two GIF pixels on a large screen")
            << QByteArray::fromHex("474946383961" "803ee02e" "800000" "000000ffffff" "2c" "00000000" "02000100" "00"
                                   "02" "02040a" "00" "3b")
            << QtImageKind::Gif << "GIF イメージが不正です";
    }
    void qtKindsMustFitTheirData() {
        QFETCH(QByteArray, bytes);
        QFETCH(QtImageKind, kind);
        QTEST(errorOf([&] { decodeQtImage(bytes, kind); }), "error");
    }
};

PELMORA_TEST_GROUP(ReaderLimitsTest)

#include "reader_limits_test.moc"
