#pragma once

// Qt
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTest>

// Local
#include "imageops/bitmap.h"

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
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
