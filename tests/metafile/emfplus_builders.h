// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

// Std
#include <initializer_list>

namespace pelmora::test {

// EMF+ records, gathered into the body of the EMF comment that carries
// them. The first is the EMF+ header: a screen's file at 254 dots per inch,
// dual or EMF+ only.
class EmfPlusRecords {
public:
    explicit EmfPlusRecords(bool dual = false);
    // Records for a later comment of the same file, with no header.
    static EmfPlusRecords more() { return EmfPlusRecords(Later{}); }

    // A record of type (without the 0x4000 flag) with its flags and data.
    EmfPlusRecords& record(quint16 type, quint16 flags, const QByteArray& data = {});
    // The EMR_COMMENT body: its size, "EMF+" and the records.
    QByteArray comment() const;

private:
    struct Later {};
    explicit EmfPlusRecords(Later) {}

    QByteArray records_;
};

// Little-endian values, as EMF+ writes them.
QByteArray words(std::initializer_list<quint32> values);
QByteArray floats(std::initializer_list<float> values);
QByteArray utf16(const QString& text);

} // namespace pelmora::test
