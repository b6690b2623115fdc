// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Local
#include "bitmap.h"
#include "pelmora_error.h"
#include "test_main.h"

// Std
#include <functional>

namespace pelmora::test {

// The shared picture corpus, or empty when this checkout has none.
inline QString corpusDir() { return QStringLiteral(PELMORA_CORPUS_DIR); }

#define PELMORA_REQUIRE_CORPUS() \
    do { if (::pelmora::test::corpusDir().isEmpty()) QSKIP("the picture corpus is not next to this checkout"); } while (0)

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of the error the work raises, or empty when it raises none.
inline QString errorOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const PelmoraError& e) {
        return e.text();
    }
    return QString();
}

// Every cut of a whole file, and the file with any one byte damaged, is read
// or refused with a text matching the pattern; a cut is read only where the
// format lets a file stop early, and then at full size.
inline void checkCutsAndDamage(const QByteArray& whole, Bitmap (*decode)(const QByteArray&), const QString& refusal,
                               bool mayStopEarly) {
    const QRegularExpression pattern(QStringLiteral("^(%1)$").arg(refusal));
    const QSize full = decode(whole).image().size();
    for (qsizetype at = 1; at < whole.size(); ++at) {
        const QString error = errorOf([&] {
            const QSize size = decode(whole.left(at)).image().size();
            QVERIFY2(mayStopEarly && size == full, qPrintable(QString::number(at)));
        });
        QVERIFY2(error.isEmpty() || pattern.match(error).hasMatch(), qPrintable(error));
        for (char value : {'\x00', '\xff', '\x5a'}) {
            const QString damaged = errorOf([&] { decode(QByteArray(whole).replace(at, 1, &value, 1)); });
            QVERIFY2(damaged.isEmpty() || pattern.match(damaged).hasMatch(), qPrintable(damaged));
        }
    }
}

// Smooth, as photographs are, but every pixel differs from its neighbours in
// every channel (up to 64 x 48).
inline QImage patternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x + y, x + 2 * y, 255 - x - 2 * y));
    return image;
}

} // namespace pelmora::test

// Defines the function through which main() runs one group of tests.
#define PELMORA_TEST_GROUP(Group) \
    int run##Group(int argc, char** argv) { Group test; return pelmora::test::runTests(test, argc, argv); }
