// SPDX-License-Identifier: GPL-2.0-or-later
#include "gdi_device.h"

namespace pelmora {

namespace {

// A palette grows by resizing to this many entries at most: a few bytes of
// record must not ask for megabytes in every slot of the table.
constexpr quint32 maxResizedEntries = 256;

GdiPalette* paletteAt(std::vector<std::optional<GdiObject>>& objects, std::size_t index) {
    if (index >= objects.size() || !objects[index])
        return nullptr;
    return std::get_if<GdiPalette>(&*objects[index]);
}

} // namespace

const QList<QRgb>& GdiDevice::palette() const {
    const GdiObject* selected = dc_.palette ? object(*dc_.palette) : nullptr;
    const auto* chosen = selected ? std::get_if<GdiPalette>(selected) : nullptr;
    return chosen && !chosen->entries.isEmpty() ? chosen->entries : defaultPalette();
}

void GdiDevice::setPaletteEntries(std::size_t index, quint32 start, const QList<QRgb>& entries) {
    // Entries past the palette's end are not added, as GDI does.
    if (GdiPalette* p = paletteAt(objects_, index))
        for (qsizetype i = 0; i < entries.size() && start + quint64(i) < quint64(p->entries.size()); ++i)
            p->entries[qsizetype(start) + i] = entries[i];
}

void GdiDevice::resizePalette(std::size_t index, quint32 count) {
    GdiPalette* p = paletteAt(objects_, index);
    if (!p || count == 0)
        return;
    const qsizetype old = p->entries.size();
    p->entries.resize(std::min<qsizetype>(count, std::max<qsizetype>(old, maxResizedEntries)));
    for (qsizetype i = old; i < p->entries.size(); ++i)
        p->entries[i] = 0xFF000000u;
}

} // namespace pelmora
