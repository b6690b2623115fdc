// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Std
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>

namespace pelmora {

// Where a reader takes a file's bytes from: the file itself, read piece by
// piece as the picture needs it, or bytes already in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::int64_t size() const = 0;
    // Copies as many of count bytes from offset as there are; returns how
    // many (fewer at the end, or in a file cut short while it is read).
    virtual std::int64_t readUpTo(std::int64_t offset, void* out, std::int64_t count) const = 0;
    bool readAt(std::int64_t offset, void* out, std::int64_t count) const {
        return readUpTo(offset, out, count) == count;
    }
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(const QByteArray& bytes) : bytes_(bytes) {}
    std::int64_t size() const override { return bytes_.size(); }
    std::int64_t readUpTo(std::int64_t offset, void* out, std::int64_t count) const override {
        if (offset < 0 || count <= 0 || offset >= size())
            return 0;
        count = std::min(count, size() - offset);
        std::memcpy(out, bytes_.constData() + offset, size_t(count));
        return count;
    }

private:
    const QByteArray& bytes_;
};

// Takes a file's bytes piece by piece as they are made.
using ByteSink = std::function<void(const char* data, qsizetype size)>;

} // namespace pelmora
