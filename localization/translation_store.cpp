// SPDX-License-Identifier: MIT
// The translation table in a TDynaArray, its index of 256 buckets by the low
// 8 bits of a key's first code unit, the lookup that learns unknown texts,
// and the file "translate.dat".
#include "translation_store.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include "dyna_array.h"

namespace tessarin {

namespace {

constexpr int kBucketCount = 256;

// The cursors of the table and of all 256 buckets.
TranslationEntry* curentry = nullptr;
IndexEntry* curindexentry = nullptr;

int languageInForce = kEnglish;

std::u16string_view TextOf(const char16_t* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

// A zero-terminated copy of `text` up to its first NUL; null for the empty
// text.
char16_t* NewText(std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  if (text.empty()) return nullptr;
  auto* buffer = new char16_t[text.size() + 1];
  text.copy(buffer, text.size());
  buffer[text.size()] = u'\0';
  return buffer;
}

void ReleaseSlots(TranslationEntry& entry) {
  for (char16_t*& text : entry.slot) {
    delete[] text;
    text = nullptr;
  }
}

struct Store {
  TDynaArray transtable{sizeof(TranslationEntry), &curentry};
  std::vector<std::unique_ptr<TDynaArray>> buckets;
  std::filesystem::path file;
  bool exists = false;

  ~Store() { Release(); }

  void Release() {
    transtable.First();
    while (transtable.WhileNext()) ReleaseSlots(*curentry);
    transtable.Clear();
    for (auto& bucket : buckets) {
      bucket->First();
      while (bucket->WhileNext()) delete[] curindexentry->key;
    }
    buckets.clear();
    curindexentry = nullptr;
    file.clear();
    exists = false;
  }
};

Store& TheStore() {
  static Store store;
  return store;
}

int BucketOf(std::u16string_view key) { return key.front() & 0xFF; }

std::u16string_view KeyAt(TDynaArray& bucket, std::int32_t index) {
  bucket.GetObject(static_cast<std::uint32_t>(index));
  return TextOf(curindexentry->key);
}

// Appends an index entry for table entry `entry` to bucket `b`; false when
// there is no memory for it.
bool AddIndexEntry(int b, std::u16string_view key, std::int32_t entry) {
  if (!TheStore().buckets[static_cast<std::size_t>(b)]->Add()) return false;
  curindexentry->key = NewText(key);
  curindexentry->entry = entry;
  return true;
}

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

// A name beside the file that no other save of this or another process uses
// at the same moment.
std::filesystem::path TemporaryBeside(const std::filesystem::path& file) {
  static unsigned counter = 0;
  const auto stamp =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::string suffix(".");
  suffix += std::to_string(stamp);
  suffix += '-';
  suffix += std::to_string(++counter);
  suffix += ".tmp";
  std::filesystem::path temporary = file;
  temporary += suffix;
  return temporary;
}

}  // namespace

// --- File format --------------------------------------------------------------------------------

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

// --- The store ----------------------------------------------------------------------------------

void InitTranslation(const std::string& progpath) {
  Store& store = TheStore();
  store.Release();
  const std::string name = progpath + "translate.dat";
  store.file = std::filesystem::path(std::u8string(name.begin(), name.end()));
  LoadTranslation();

  for (int b = 0; b < kBucketCount; ++b) {
    store.buckets.push_back(std::make_unique<TDynaArray>(sizeof(IndexEntry), &curindexentry));
  }
  TDynaArray& table = store.transtable;
  table.First();
  while (table.WhileNext()) {
    const std::u16string_view key = TextOf(curentry->slot[0]);
    if (key.empty()) continue;
    if (!AddIndexEntry(BucketOf(key), key, table.aobjnr() - 1)) break;
  }
  for (int b = 0; b < kBucketCount; ++b) {
    const std::uint32_t count = store.buckets[static_cast<std::size_t>(b)]->count();
    if (count > 0) SortBucket(b, 0, static_cast<std::int32_t>(count) - 1);
  }
  store.exists = true;
}

bool TranslationStoreExists() { return TheStore().exists; }

void CloseTranslation() { TheStore().Release(); }

std::uint32_t IndexBucketCount(int b) {
  const Store& store = TheStore();
  if (b < 0 || b >= static_cast<int>(store.buckets.size())) return 0;
  return store.buckets[static_cast<std::size_t>(b)]->count();
}

int Language() { return languageInForce; }

void SetLanguage(int code) { languageInForce = code; }

void LoadTranslation() {
  Store& store = TheStore();
  std::error_code error;
  if (!std::filesystem::is_regular_file(store.file, error)) return;
  const std::uintmax_t size = std::filesystem::file_size(store.file, error);
  if (error) return;
  std::ifstream file(store.file, std::ios::binary);
  if (!file) return;
  ReadTranslationEntries(file, size, [&store](std::array<std::u16string, kSlotCount>& texts) {
    if (!store.transtable.Add()) return false;
    for (int s = 0; s < kSlotCount; ++s) curentry->slot[s] = NewText(texts[s]);
    return true;
  });
}

void SortBucket(int b, std::int32_t lo, std::int32_t hi) {
  Store& store = TheStore();
  if (b < 0 || b >= static_cast<int>(store.buckets.size())) return;
  TDynaArray& bucket = *store.buckets[static_cast<std::size_t>(b)];
  if (lo < 0 || hi >= static_cast<std::int32_t>(bucket.count())) return;
  // Quicksort with the middle key as pivot. The smaller part is sorted by
  // recursion and the larger one by the loop, so the depth stays logarithmic
  // whatever order the file holds.
  while (lo < hi) {
    std::int32_t i = lo;
    std::int32_t j = hi;
    const std::u16string pivot(KeyAt(bucket, lo + (hi - lo) / 2));
    do {
      while (KeyAt(bucket, i) < pivot) ++i;
      while (KeyAt(bucket, j) > pivot) --j;
      if (i <= j) {
        bucket.Change(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      if (lo < j) SortBucket(b, lo, j);
      lo = i;
    } else {
      if (i < hi) SortBucket(b, i, hi);
      hi = j;
    }
  }
}

std::u16string TranslateText(std::u16string_view text) {
  Store& store = TheStore();
  if (text.empty() || !store.exists) return std::u16string(text);

  std::size_t lead = 0;
  while (lead < text.size() && text[lead] == u' ') ++lead;
  std::size_t trail = 0;
  while (trail < text.size() - lead && text[text.size() - 1 - trail] == u' ') ++trail;
  std::u16string_view key = text.substr(lead, text.size() - lead - trail);
  // The table holds zero-terminated texts, so a key ends at its first NUL.
  key = key.substr(0, key.find(u'\0'));
  // A text of blanks alone has no key: it comes back as it is.
  if (key.empty()) return std::u16string(text);

  const int b = BucketOf(key);
  TDynaArray& bucket = *store.buckets[static_cast<std::size_t>(b)];
  TDynaArray& table = store.transtable;
  for (std::uint32_t i = 0; i < bucket.count(); ++i) {
    if (KeyAt(bucket, static_cast<std::int32_t>(i)) != key) continue;
    const std::int32_t nr = curindexentry->entry;
    // The index is kept in step with deletions; the check keeps a lookup
    // inside the table in any case. A code outside the 20 slots has no text.
    if (nr < 0 || static_cast<std::uint32_t>(nr) >= table.count()) return std::u16string(text);
    table.GetObject(static_cast<std::uint32_t>(nr));
    std::u16string_view translation = SlotText(*curentry, languageInForce);
    if (translation.empty()) return std::u16string(text);
    while (!translation.empty() && translation.front() <= u' ') translation.remove_prefix(1);
    while (!translation.empty() && translation.back() <= u' ') translation.remove_suffix(1);
    std::u16string result(lead, u' ');
    result += translation;
    result.append(trail, u' ');
    return result;
  }

  // Learn the key: a new entry with empty translations at the end of the
  // table, and an index entry at the end of its bucket.
  if (!table.Add()) return std::u16string(text);
  curentry->slot[0] = NewText(key);
  const auto nr = static_cast<std::int32_t>(table.count() - 1);
  if (!AddIndexEntry(b, key, nr)) {
    // Without an index entry it would be learned again at every lookup.
    table.GetObject(static_cast<std::uint32_t>(nr));
    ReleaseSlots(*curentry);
    table.Delete(nr);
    return std::u16string(text);
  }
  SaveTranslation();
  return std::u16string(text);
}

void SaveTranslation() {
  Store& store = TheStore();
  if (!store.exists) return;
  std::error_code error;
  // A write-protected file stays as it is (replacing it by a rename would
  // succeed on some systems all the same).
  if (std::filesystem::exists(store.file, error)) {
    std::ofstream probe(store.file, std::ios::binary | std::ios::app);
    if (!probe) return;
  }
  const std::filesystem::path temporary = TemporaryBeside(store.file);
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return;
    TDynaArray& table = store.transtable;
    WriteTableHeader(file, static_cast<std::int32_t>(table.count()));
    table.First();
    while (table.WhileNext() && file) {
      for (const char16_t* text : curentry->slot) WriteTableText(file, TextOf(text));
    }
    file.close();
    if (file.fail()) {
      std::filesystem::remove(temporary, error);
      return;
    }
  }
  std::filesystem::rename(temporary, store.file, error);
  if (error) std::filesystem::remove(temporary, error);
}

// --- The editor's access ------------------------------------------------------------------------

TDynaArray& TransTable() { return TheStore().transtable; }

TranslationEntry* CurEntry() { return curentry; }

std::u16string_view SlotText(const TranslationEntry& entry, int number) {
  if (number < 0 || number >= kSlotCount) return {};
  return TextOf(entry.slot[number]);
}

void ReplaceSlot(TranslationEntry& entry, int number, std::u16string_view text) {
  if (number < 0 || number >= kSlotCount) return;
  char16_t* copy = NewText(text);
  delete[] entry.slot[number];
  entry.slot[number] = copy;
}

void DeleteTranslationEntry(std::int32_t nr) {
  Store& store = TheStore();
  TDynaArray& table = store.transtable;
  if (nr < 0 || static_cast<std::uint32_t>(nr) >= table.count()) return;
  table.GetObject(static_cast<std::uint32_t>(nr));
  ReleaseSlots(*curentry);
  table.Delete(nr);
  // Adjust the index: drop the deleted entry's index entries and move the
  // later numbers down with the table. Its key may lie in any bucket, since
  // slot 0 may have been edited since the index was built.
  for (auto& bucket : store.buckets) {
    for (auto i = static_cast<std::int32_t>(bucket->count()) - 1; i >= 0; --i) {
      bucket->GetObject(static_cast<std::uint32_t>(i));
      if (curindexentry->entry == nr) {
        delete[] curindexentry->key;
        bucket->Delete(i);
      } else if (curindexentry->entry > nr) {
        --curindexentry->entry;
      }
    }
  }
}

}  // namespace tessarin
