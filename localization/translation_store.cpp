// SPDX-License-Identifier: MIT
// The translation table in a TDynaArray, its index of 256 buckets by the low
// 8 bits of a key's first code unit, the lookup that learns unknown texts,
// and loading and saving "translate.dat" whole.
#include "translation_store.h"

#include <chrono>
#include <filesystem>
#include <fstream>

#include "translation_file.h"

namespace tessarin {

namespace {

constexpr int kBucketCount = 256;

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

int BucketOf(std::u16string_view key) { return key.front() & 0xFF; }

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
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

TranslationStore::TranslationStore() : transtable_(sizeof(TranslationEntry), &curentry_) {
  for (int b = 0; b < kBucketCount; ++b) {
    buckets_.push_back(std::make_unique<TDynaArray>(sizeof(IndexEntry), &curindexentry_));
  }
}

TranslationStore::~TranslationStore() { Release(); }

void TranslationStore::Release() {
  transtable_.First();
  while (transtable_.WhileNext()) ReleaseSlots(*curentry_);
  transtable_.Clear();
  for (auto& bucket : buckets_) {
    bucket->First();
    while (bucket->WhileNext()) delete[] curindexentry_->key;
    bucket->Clear();
  }
  file_.clear();
  built_ = false;
}

void TranslationStore::InitTranslation(const std::string& progpath) {
  Release();
  file_ = progpath + "translate.dat";
  LoadTranslation();

  transtable_.First();
  while (transtable_.WhileNext()) {
    const std::u16string_view key = TextOf(curentry_->slot[0]);
    if (key.empty()) continue;
    if (!AddIndexEntry(BucketOf(key), key, transtable_.aobjnr() - 1)) break;
  }
  for (int b = 0; b < kBucketCount; ++b) {
    const std::uint32_t count = buckets_[static_cast<std::size_t>(b)]->count();
    if (count > 0) SortBucket(b, 0, static_cast<std::int32_t>(count) - 1);
  }
  built_ = true;
}

std::uint32_t TranslationStore::IndexBucketCount(int b) const {
  if (b < 0 || b >= kBucketCount) return 0;
  return buckets_[static_cast<std::size_t>(b)]->count();
}

std::u16string_view TranslationStore::KeyAt(TDynaArray& bucket, std::int32_t index) {
  bucket.GetObject(static_cast<std::uint32_t>(index));
  return TextOf(curindexentry_->key);
}

bool TranslationStore::AddIndexEntry(int b, std::u16string_view key, std::int32_t entry) {
  if (!buckets_[static_cast<std::size_t>(b)]->Add()) return false;
  curindexentry_->key = NewText(key);
  curindexentry_->entry = entry;
  return true;
}

void TranslationStore::LoadTranslation() {
  const std::filesystem::path path = PathOf(file_);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return;
  std::ifstream file(path, std::ios::binary);
  if (!file) return;
  ReadTranslationEntries(file, size, [this](std::array<std::u16string, kSlotCount>& texts) {
    if (!transtable_.Add()) return false;
    for (int s = 0; s < kSlotCount; ++s) curentry_->slot[s] = NewText(texts[s]);
    return true;
  });
}

void TranslationStore::SortBucket(int b, std::int32_t lo, std::int32_t hi) {
  if (b < 0 || b >= kBucketCount) return;
  TDynaArray& bucket = *buckets_[static_cast<std::size_t>(b)];
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

std::u16string TranslationStore::TranslateText(std::u16string_view text) {
  if (text.empty() || !built_) return std::u16string(text);

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
  TDynaArray& bucket = *buckets_[static_cast<std::size_t>(b)];
  for (std::uint32_t i = 0; i < bucket.count(); ++i) {
    if (KeyAt(bucket, static_cast<std::int32_t>(i)) != key) continue;
    const std::int32_t nr = curindexentry_->entry;
    // The index is kept in step with deletions; the check keeps a lookup
    // inside the table in any case. A code outside the 20 slots has no text.
    if (nr < 0 || static_cast<std::uint32_t>(nr) >= transtable_.count()) {
      return std::u16string(text);
    }
    transtable_.GetObject(static_cast<std::uint32_t>(nr));
    std::u16string_view translation = SlotText(*curentry_, language_);
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
  if (!transtable_.Add()) return std::u16string(text);
  curentry_->slot[0] = NewText(key);
  const auto nr = static_cast<std::int32_t>(transtable_.count() - 1);
  if (!AddIndexEntry(b, key, nr)) {
    // Without an index entry it would be learned again at every lookup.
    transtable_.GetObject(static_cast<std::uint32_t>(nr));
    ReleaseSlots(*curentry_);
    transtable_.Delete(nr);
    return std::u16string(text);
  }
  SaveTranslation();
  return std::u16string(text);
}

void TranslationStore::SaveTranslation() {
  if (!built_) return;
  const std::filesystem::path path = PathOf(file_);
  std::error_code error;
  // A write-protected file stays as it is (replacing it by a rename would
  // succeed on some systems all the same).
  if (std::filesystem::exists(path, error)) {
    std::ofstream probe(path, std::ios::binary | std::ios::app);
    if (!probe) return;
  }
  const std::filesystem::path temporary = TemporaryBeside(path);
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return;
    WriteTableHeader(file, static_cast<std::int32_t>(transtable_.count()));
    transtable_.First();
    while (transtable_.WhileNext() && file) {
      for (const char16_t* text : curentry_->slot) WriteTableText(file, TextOf(text));
    }
    file.close();
    if (file.fail()) {
      std::filesystem::remove(temporary, error);
      return;
    }
  }
  std::filesystem::rename(temporary, path, error);
  if (error) std::filesystem::remove(temporary, error);
}

void TranslationStore::DeleteTranslationEntry(std::int32_t nr) {
  if (nr < 0 || static_cast<std::uint32_t>(nr) >= transtable_.count()) return;
  transtable_.GetObject(static_cast<std::uint32_t>(nr));
  ReleaseSlots(*curentry_);
  transtable_.Delete(nr);
  // Adjust the index: drop the deleted entry's index entries and move the
  // later numbers down with the table. Its key may lie in any bucket, since
  // slot 0 may have been edited since the index was built.
  for (auto& bucket : buckets_) {
    for (auto i = static_cast<std::int32_t>(bucket->count()) - 1; i >= 0; --i) {
      bucket->GetObject(static_cast<std::uint32_t>(i));
      if (curindexentry_->entry == nr) {
        delete[] curindexentry_->key;
        bucket->Delete(i);
      } else if (curindexentry_->entry > nr) {
        --curindexentry_->entry;
      }
    }
  }
}

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

}  // namespace tessarin
