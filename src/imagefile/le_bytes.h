// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Std
#include <cstdint>

namespace pelmora {

// Little-endian fields of the BMP and ICO formats. Reads are unchecked:
// callers test the size first.
class LeReader {
public:
    explicit LeReader(const QByteArray& bytes) : bytes_(bytes) {}
    std::int64_t size() const { return bytes_.size(); }
    std::uint32_t u8(std::int64_t at) const { return std::uint8_t(bytes_[qsizetype(at)]); }
    std::uint32_t u16(std::int64_t at) const { return u8(at) | u8(at + 1) << 8; }
    std::uint32_t u32(std::int64_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::int32_t s32(std::int64_t at) const { return std::int32_t(u32(at)); }

private:
    const QByteArray& bytes_;
};

inline void putLe16(QByteArray& out, qsizetype at, std::uint32_t v) {
    out[at] = char(v & 0xFF);
    out[at + 1] = char((v >> 8) & 0xFF);
}

inline void putLe32(QByteArray& out, qsizetype at, std::uint32_t v) {
    putLe16(out, at, v & 0xFFFF);
    putLe16(out, at + 2, v >> 16);
}

} // namespace pelmora
