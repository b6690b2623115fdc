// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Std
#include <array>
#include <cstddef>

namespace pelmora {

class TPelmoraForm1;

// The main window's commands, in the order of ActionList1.
enum class CommandId {
    ActOpen,
    ActSave,
    ActClose,
    ActEdge,
    ActPaint,
    ActBA,
    ActSpoid,
    ActNew,
    ActSpoid2,
    ActVer,
    Act90,
    Act180,
    Act270,
    ActHantenRL,
    ActHantenTB,
    ActSize,
    ActBColor,
};
inline constexpr std::size_t kCommandCount = 17;

inline constexpr int kNoGlyph = -1;

using CommandHandler = void (TPelmoraForm1::*)();

// One command, declared completely: its menu caption ("&" marks the access
// key), its hint (short part "|" long part), its glyph in ImageList1 and
// the handler it runs.
struct CommandEntry {
    CommandId id;
    const char* name;
    QString caption;
    QString hint;
    int glyph;
    CommandHandler handler;
};

const std::array<CommandEntry, kCommandCount>& commandTable();

inline constexpr std::size_t indexOf(CommandId id) { return static_cast<std::size_t>(id); }

} // namespace pelmora
