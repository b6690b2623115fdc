// SPDX-License-Identifier: GPL-2.0-or-later
#include "cursor_file.h"

// Qt
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

// The program's own copies of the cursors live in a static library, whose
// resources are only linked in when something asks for them.
static void initCursorResources() {
    Q_INIT_RESOURCE(pelmora);
}

namespace pelmora {

namespace {

constexpr qsizetype kDirectorySize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr quint16 kCursorType = 2;

} // namespace

std::optional<QCursor> readCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < kDirectorySize + kEntrySize)
        return std::nullopt;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    if (qFromLittleEndian<quint16>(data) != 0 || qFromLittleEndian<quint16>(data + 2) != kCursorType ||
        qFromLittleEndian<quint16>(data + 4) == 0)
        return std::nullopt;
    // In a cursor's entry the two words that an icon uses for planes and
    // bit count hold the hot spot.
    const int hotX = qFromLittleEndian<quint16>(data + kDirectorySize + 4);
    const int hotY = qFromLittleEndian<quint16>(data + kDirectorySize + 6);
    const QImage image = QImage::fromData(bytes, "cur");
    if (image.isNull())
        return std::nullopt;
    return QCursor(QPixmap::fromImage(image), qMin(hotX, image.width() - 1), qMin(hotY, image.height() - 1));
}

QCursor eyedropperCursor(const QString& fileName) {
    static const bool resourcesReady = (initCursorResources(), true);
    Q_UNUSED(resourcesReady);
    if (auto cursor = readCursorFile(fileName))
        return *cursor;
    if (auto cursor = readCursorFile(QStringLiteral(":/cursors/") + fileName))
        return *cursor;
    return QCursor(Qt::ArrowCursor);
}

} // namespace pelmora
