// SPDX-License-Identifier: MIT
// The bytes of "translate.dat": a header of slot and entry counts, then each
// entry's texts as length-prefixed UTF-16 little-endian strings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "translation_store.h"

namespace tessarin {

// A string is a signed 32-bit little-endian length in UTF-16 code units, then
// the code units little-endian. The text is written up to its first NUL.
void WriteTableText(std::ostream& file, std::u16string_view text);
// Reads one string; `remaining` is the number of bytes left in the file and
// is lowered by what was read. nullopt when the length is negative or the
// string does not fit in the bytes left (nothing is allocated for it then).
std::optional<std::u16string> ReadTableText(std::istream& file, std::uint64_t& remaining);

// Writes the file header: the slot count 20 and the number of entries.
void WriteTableHeader(std::ostream& file, std::int32_t entries);

// Reads a whole translation file of `size` bytes and hands each entry's 20
// texts to `entry` in file order; `entry` returns false to stop. Slots beyond
// 20 are dropped, missing ones are empty. A damaged file yields the entries
// that could be read: an entry whose key was read whole is handed over with
// the texts read before the damage. Returns whether the file was read without
// damage.
bool ReadTranslationEntries(
    std::istream& file, std::uint64_t size,
    const std::function<bool(std::array<std::u16string, kSlotCount>& texts)>& entry);

}  // namespace tessarin
