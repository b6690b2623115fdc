// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QtGlobal>

// Std
#include <cstddef>
#include <cstring>

namespace pelmora {

// A bounded, read-only window on little-endian bytes. Every read checks the
// bounds; a read outside the window yields 0, so callers test has() before
// relying on a value.
class ByteView {
public:
    ByteView() = default;
    ByteView(const char* data, std::size_t size)
        : data_(data), size_(size) {}

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

    bool has(std::size_t offset, std::size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    // The part from offset on, count bytes long; empty when it does not fit.
    ByteView sub(std::size_t offset, std::size_t count) const {
        return has(offset, count) ? ByteView(data_ + offset, count) : ByteView();
    }

    quint8 u8(std::size_t offset) const { return read<quint8>(offset); }
    quint16 u16(std::size_t offset) const { return read<quint16>(offset); }
    qint16 i16(std::size_t offset) const { return read<qint16>(offset); }
    quint32 u32(std::size_t offset) const { return read<quint32>(offset); }
    qint32 i32(std::size_t offset) const { return read<qint32>(offset); }
    float f32(std::size_t offset) const { return read<float>(offset); }

private:
    template <typename T>
    T read(std::size_t offset) const {
        T value{};
        if (has(offset, sizeof(T)))
            std::memcpy(&value, data_ + offset, sizeof(T));
        return value;
    }

    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace pelmora
