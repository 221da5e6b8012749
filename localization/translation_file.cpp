// SPDX-License-Identifier: MIT
// Reading and writing the strings, the header and the entries of
// "translate.dat"; no length read from the file is trusted beyond its size.
#include "translation_file.h"

#include <istream>
#include <ostream>
#include <utility>

namespace tessarin {

namespace {

void WriteInt32(std::ostream& file, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                         static_cast<char>((bits >> 16) & 0xFF),
                         static_cast<char>((bits >> 24) & 0xFF)};
  file.write(bytes, 4);
}

std::optional<std::int32_t> ReadInt32(std::istream& file, std::uint64_t& remaining) {
  if (remaining < 4) return std::nullopt;
  unsigned char bytes[4];
  if (!file.read(reinterpret_cast<char*>(bytes), 4)) return std::nullopt;
  remaining -= 4;
  return static_cast<std::int32_t>(std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                   std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24);
}

}  // namespace

void WriteTableText(std::ostream& file, std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  WriteInt32(file, static_cast<std::int32_t>(text.size()));
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::u16string> ReadTableText(std::istream& file, std::uint64_t& remaining) {
  const std::optional<std::int32_t> length = ReadInt32(file, remaining);
  // The bytes of a string must be in the file: no length is trusted further.
  if (!length || *length < 0 || std::uint64_t(*length) * 2 > remaining) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(*length) * 2, '\0');
  if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
  remaining -= bytes.size();
  std::u16string text(static_cast<std::size_t>(*length), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return text;
}

void WriteTableHeader(std::ostream& file, std::int32_t entries) {
  WriteInt32(file, kSlotCount);
  WriteInt32(file, entries);
}

bool ReadTranslationEntries(
    std::istream& file, std::uint64_t size,
    const std::function<bool(std::array<std::u16string, kSlotCount>& texts)>& entry) {
  std::uint64_t remaining = size;
  const std::optional<std::int32_t> slotCount = ReadInt32(file, remaining);
  const std::optional<std::int32_t> entryCount = ReadInt32(file, remaining);
  if (!slotCount || !entryCount) return false;
  if (*entryCount <= 0) return *entryCount == 0;
  // Entries without slots have no key and cannot be told apart.
  if (*slotCount <= 0) return false;
  // Every entry is handed over as soon as it is read, so nothing is allocated
  // for entries that the file does not hold, whatever the counts say.
  for (std::int32_t e = 0; e < *entryCount; ++e) {
    std::array<std::u16string, kSlotCount> slots;
    for (std::int32_t s = 0; s < *slotCount; ++s) {
      std::optional<std::u16string> text = ReadTableText(file, remaining);
      if (!text) {
        if (s > 0) entry(slots);
        return false;
      }
      if (s < kSlotCount) slots[static_cast<std::size_t>(s)] = std::move(*text);
    }
    if (!entry(slots)) return false;
  }
  return true;
}

}  // namespace tessarin
