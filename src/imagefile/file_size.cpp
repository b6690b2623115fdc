// SPDX-License-Identifier: GPL-2.0-or-later
#include "file_size.h"

// Qt
#include <QFile>

// Local
#include "file_io.h"

// Std
#include <cerrno>
#include <sys/stat.h>

namespace pelmora {

namespace {

// Whole part with "," between groups of three; 0 writes nothing.
QString groupedWhole(quint64 whole) {
    if (whole == 0)
        return QString();
    QString digits = QString::number(whole);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return digits;
}

// bytes / unit rounded half away from zero to `decimals` places, trailing
// zeros and a bare point dropped; exact in integers.
QString formatted(quint64 bytes, quint64 unit, int decimals) {
    const quint64 scale = decimals == 2 ? 100 : 10;
    quint64 whole = bytes / unit;
    quint64 fraction = ((bytes % unit) * scale * 2 + unit) / (unit * 2);
    if (fraction == scale) {
        ++whole;
        fraction = 0;
    }
    QString text = groupedWhole(whole);
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(decimals, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return text;
}

} // namespace

QString fileSizeText(qint64 bytes) {
    constexpr quint64 K = quint64(1) << 10;
    constexpr quint64 M = quint64(1) << 20;
    constexpr quint64 G = quint64(1) << 30;
    const QString sign = bytes < 0 ? QStringLiteral("-") : QString();
    const quint64 n = bytes < 0 ? quint64(0) - quint64(bytes) : quint64(bytes);
    if (n >= G)
        return sign + formatted(n, G, 2) + QStringLiteral(" GB");
    if (n >= M)
        return sign + formatted(n, M, 2) + QStringLiteral(" MB");
    if (n >= K)
        return sign + formatted(n, K, 1) + QStringLiteral(" KB");
    return sign + formatted(n, 1, 1) + QStringLiteral(" byt");
}

qint64 fileSizeOnDisk(const QString& path) {
    // Only the file's metadata is read: its attributes and rights stay as
    // they are, and a file on read-only media is measured like any other.
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        throwIoError(ENOENT);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        throwIoError(errno);
    if (S_ISDIR(info.st_mode))
        throwIoError(EISDIR);
    return qint64(info.st_size);
}

} // namespace pelmora
