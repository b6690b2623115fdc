// SPDX-License-Identifier: GPL-2.0-or-later

// Qt
#include <QTest>

// Local
#include "picture_memory.h"
#include "imageops_test.h"

// Std
#include <cstdint>
#include <cstring>

using namespace pelmora;

void ImageOpsTest::spareBuffersAreNeverShared_data() {
    QTest::addColumn<qsizetype>("prepared");
    QTest::addColumn<qsizetype>("taken");
    const qsizetype mb = qsizetype(1) << 20;
    QTest::newRow("the size prepared") << 3 * mb << 3 * mb;
    QTest::newRow("another size") << 3 * mb << 2 * mb + 100;
    QTest::newRow("one byte more") << 2 * mb << 2 * mb + 1;
}

// Takes race the thread that makes the spare: every buffer handed out is
// whole, aligned and shared with no other buffer still held.
void ImageOpsTest::spareBuffersAreNeverShared() {
    QFETCH(qsizetype, prepared);
    QFETCH(qsizetype, taken);
    for (int round = 0; round < 8; ++round) {
        prepareSpareBuffer(size_t(prepared));
        auto* a = static_cast<unsigned char*>(takePixelBuffer(size_t(taken)));
        auto* b = static_cast<unsigned char*>(takePixelBuffer(size_t(taken)));
        prepareSpareBuffer(size_t(prepared));
        auto* c = static_cast<unsigned char*>(takePixelBuffer(size_t(prepared)));
        QVERIFY(a && b && c);
        unsigned char* buffers[] = {a, b, c};
        const qsizetype sizes[] = {taken, taken, prepared};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(reinterpret_cast<std::uintptr_t>(buffers[i]) % 64, std::uintptr_t(0));
            std::memset(buffers[i], 0x10 + i, size_t(sizes[i]));
        }
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(buffers[i][0], (unsigned char)(0x10 + i));
            QCOMPARE(buffers[i][sizes[i] - 1], (unsigned char)(0x10 + i));
        }
        releasePixelBuffer(c);
        releasePixelBuffer(b);
        releasePixelBuffer(a);
    }
}
