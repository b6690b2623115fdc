#pragma once

// Qt
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

// Local
#include "imageops/bitmap.h"
#include "imageops/pelmora_error.h"

// Std
#include <functional>

namespace pelmora::test {

// The shared picture corpus, or empty when this checkout has none.
inline QString corpusDir() { return QStringLiteral(PELMORA_CORPUS_DIR); }

#define PELMORA_REQUIRE_CORPUS()                                               \
    do {                                                                       \
        if (::pelmora::test::corpusDir().isEmpty())                           \
            QSKIP("the picture corpus is not next to this checkout");          \
    } while (false)

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A little-endian field of a file.
inline quint32 le(const QByteArray& b, qsizetype at, int size) {
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | quint8(b[at + i]);
    return v;
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

// A picture whose pixels differ from their neighbours in every channel.
inline QImage patternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (x * 5 + y * 71) & 255, (x * y + 13) & 255));
    return image;
}

} // namespace pelmora::test

// Defines the function through which main() runs one group of tests.
#define PELMORA_TEST_GROUP(Group)                                               \
    int run##Group(int argc, char** argv) {                                    \
        Group test;                                                            \
        return QTest::qExec(&test, argc, argv);                                \
    }
