// SPDX-License-Identifier: MIT
// The translation store: German interface texts to the language in force,
// learned at run time into "translate.dat" in the program folder.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace tessarin {

class TDynaArray;

// Language codes; the code is also the slot of the translation table.
enum LanguageCode : int {
  kGerman = 0,
  kEnglish = 1,
  kFrench = 2,
  kDutch = 3,
  kItalian = 4,
  kSpanish = 5,
  kPortuguese = 6,
};

// Slots per table entry: 0 the German key, 1 to 6 the languages above, 7 to
// 19 unused but kept in the file.
constexpr int kSlotCount = 20;

// One record of the table, kept as raw bytes in a TDynaArray: each slot is a
// zero-terminated UTF-16 buffer that the entry owns (new[]), or null for an
// empty text. Use SlotText and ReplaceSlot rather than the pointers. (The
// array is not called "slots": Qt defines that word as a macro.)
struct TranslationEntry {
  char16_t* slot[kSlotCount];
};

// One record of the lookup index: its own copy of the key and the number of
// the table entry.
struct IndexEntry {
  char16_t* key;
  std::int32_t entry;
};

// Builds the store from `progpath` + "translate.dat" (`progpath` is UTF-8 and
// ends in a path separator). A missing, unreadable or damaged file gives a
// store with what could be read; there is never a message. Calling it again
// releases the previous store first.
void InitTranslation(const std::string& progpath);

// Whether InitTranslation has built a store.
bool TranslationStoreExists();

// Releases the store; afterwards there is none, as before InitTranslation.
void CloseTranslation();

// The language code in force, read by every lookup. 1 (English) at start.
int Language();
void SetLanguage(int code);

// The translation of `text` into the language in force, or `text` itself.
// Blanks (U+0020) at either end are not part of the key; they are put back
// around the translation. A text the store does not know is learned (a new
// entry with empty translations) and the file is saved. Without a store the
// text comes back unchanged and nothing is learned.
std::u16string TranslateText(std::u16string_view text);

// Writes the whole table to the file: into a temporary file beside it that is
// then renamed over it, so a failed write leaves the old file as it was.
// Failures are silent; the table in memory stays as it is.
void SaveTranslation();

// Reads the file into the (empty) table; part of InitTranslation.
void LoadTranslation();

// Sorts index entries `lo` to `hi` of bucket `b` by key, in ordinal order of
// UTF-16 code units; part of InitTranslation.
void SortBucket(int b, std::int32_t lo, std::int32_t hi);

// The translation editor's access to the table. `TransTable()` holds
// TranslationEntry records in table order and writes `CurEntry()` at every
// positioning; it exists (empty) also before InitTranslation. Use
// DeleteTranslationEntry, not TransTable().Delete, to remove an entry.
TDynaArray& TransTable();
TranslationEntry* CurEntry();

// Text of slot `number` (0 to 19) of `entry`; empty for an empty slot or a
// number outside 0 to 19.
std::u16string_view SlotText(const TranslationEntry& entry, int number);
// Releases the text of slot `number` and puts a copy of `text` in its place
// (up to its first NUL). Numbers outside 0 to 19 change nothing. A changed
// slot 0 does not reach the lookup index: the entry is still found under its
// old key until the next start.
void ReplaceSlot(TranslationEntry& entry, int number, std::u16string_view text);
// Releases the texts of entry `nr` and removes it from the table. The index
// entries of that entry are removed and later entry numbers move down with
// the table, so every lookup stays inside the table; the deleted text is
// learned anew at its next lookup. Out of range: nothing happens. The file is
// not saved here.
void DeleteTranslationEntry(std::int32_t nr);

// Number of index entries in bucket `b` (0 outside 0 to 255); the bucket of
// a key is the low 8 bits of its first code unit.
std::uint32_t IndexBucketCount(int b);

// The file format: a string is a signed 32-bit little-endian length in UTF-16
// code units, then the code units little-endian. The text is written up to
// its first NUL.
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
