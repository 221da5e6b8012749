// SPDX-License-Identifier: MIT
// The translation store: German interface texts to the language in force,
// learned at run time into "translate.dat" in the program folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dyna_array.h"

namespace tessarin {

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

// Text of slot `number` (0 to 19) of `entry`; empty for an empty slot or a
// number outside 0 to 19.
std::u16string_view SlotText(const TranslationEntry& entry, int number);
// Releases the text of slot `number` and puts a copy of `text` in its place
// (up to its first NUL). Numbers outside 0 to 19 change nothing. A changed
// slot 0 does not reach the lookup index: the entry is still found under its
// old key until the next start.
void ReplaceSlot(TranslationEntry& entry, int number, std::u16string_view text);

// The table of entries in the order they were loaded or learned, and an index
// of 256 buckets by the low 8 bits of a key's first code unit. The main
// window builds one and hands it to the interface translation, the editor
// and the message catalogue. The arrays write their cursors into this
// object, so it is neither copied nor moved.
class TranslationStore {
 public:
  TranslationStore();
  ~TranslationStore();
  TranslationStore(const TranslationStore&) = delete;
  TranslationStore& operator=(const TranslationStore&) = delete;

  // Builds the store from `progpath` + "translate.dat" (`progpath` is UTF-8
  // and ends in a path separator). A missing, unreadable or damaged file
  // gives a store with what could be read; there is never a message. Calling
  // it again releases the previous table first.
  void InitTranslation(const std::string& progpath);

  // Whether InitTranslation has run. Before, a lookup returns its text
  // unchanged and learns nothing, and a save writes nothing.
  bool built() const { return built_; }

  // The language code in force, read by every lookup. 1 (English) at start.
  int language() const { return language_; }
  void SetLanguage(int code) { language_ = code; }

  // The translation of `text` into the language in force, or `text` itself.
  // Blanks (U+0020) at either end are not part of the key; they are put back
  // around the translation. A text the store does not know is learned (a new
  // entry with empty translations) and the file is saved.
  std::u16string TranslateText(std::u16string_view text);

  // Writes the whole table to the file: into a temporary file beside it that
  // is then renamed over it, so a failed write leaves the old file as it
  // was. Failures are silent; the table in memory stays as it is.
  void SaveTranslation();

  // The editor's access to the table. TransTable() holds TranslationEntry
  // records in table order and writes CurEntry() at every positioning. Use
  // DeleteTranslationEntry, not TransTable().Delete, to remove an entry.
  TDynaArray& TransTable() { return transtable_; }
  TranslationEntry* CurEntry() const { return curentry_; }
  // Releases the texts of entry `nr` and removes it from the table. The index
  // entries of that entry are removed and later entry numbers move down with
  // the table, so every lookup stays inside the table; the deleted text is
  // learned anew at its next lookup. Out of range: nothing happens. The file
  // is not saved here.
  void DeleteTranslationEntry(std::int32_t nr);

  // Number of index entries in bucket `b` (0 outside 0 to 255).
  std::uint32_t IndexBucketCount(int b) const;

 private:
  // Reads the file into the (empty) table; part of InitTranslation.
  void LoadTranslation();
  // Sorts index entries `lo` to `hi` of bucket `b` by key, in ordinal order
  // of UTF-16 code units; part of InitTranslation.
  void SortBucket(int b, std::int32_t lo, std::int32_t hi);
  // Appends an index entry for table entry `entry` to bucket `b`; false when
  // there is no memory for it.
  bool AddIndexEntry(int b, std::u16string_view key, std::int32_t entry);
  std::u16string_view KeyAt(TDynaArray& bucket, std::int32_t index);
  // Releases every text and empties the table and the buckets.
  void Release();

  // The cursor of the table, and the one cursor of all 256 buckets.
  TranslationEntry* curentry_ = nullptr;
  IndexEntry* curindexentry_ = nullptr;
  TDynaArray transtable_;
  std::vector<std::unique_ptr<TDynaArray>> buckets_;
  std::string file_;  // progpath + "translate.dat", UTF-8
  bool built_ = false;
  int language_ = kEnglish;
};

}  // namespace tessarin
