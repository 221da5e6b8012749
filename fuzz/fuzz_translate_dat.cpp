// SPDX-License-Identifier: MIT
// "translate.dat" from arbitrary bytes: the store loads what it can, finds
// every key it loaded without learning it again, learns a new text, and what
// it saves loads back as the same table, also after a deletion.
//
// The first byte picks the language in force (also codes outside the 20
// slots) and the entry to delete; the rest is the file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dyna_array.h"
#include "translation_store.h"

namespace {

namespace fs = std::filesystem;
using Table = std::vector<std::vector<std::u16string>>;

fs::path folder;

// A key TranslateText finds as it stands: the lookup drops outer blanks.
bool PlainKey(const std::u16string& key) {
  return !key.empty() && key.front() != u' ' && key.back() != u' ';
}

Table Snapshot(tessarin::TranslationStore& store) {
  Table entries;
  tessarin::TDynaArray& table = store.TransTable();
  table.First();
  while (table.WhileNext()) {
    std::vector<std::u16string> slots;
    for (int s = 0; s < tessarin::kSlotCount; ++s) {
      slots.emplace_back(tessarin::SlotText(*store.CurEntry(), s));
    }
    entries.push_back(std::move(slots));
  }
  return entries;
}

std::string ProgPath() { return (folder / "").string(); }

// Saves, loads the file again and checks that the table came back.
void SaveAndReload(tessarin::TranslationStore& store) {
  const Table before = Snapshot(store);
  store.SaveTranslation();
  store.InitTranslation(ProgPath());
  if (Snapshot(store) != before) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  folder = fs::temp_directory_path() / ("tessarin-fuzz-dat-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int language = data[0] % 24 - 2;
  {
    std::ofstream file(folder / "translate.dat", std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  tessarin::TranslationStore store;
  store.InitTranslation(ProgPath());
  store.SetLanguage(language);
  const Table loaded = Snapshot(store);

  // Every loaded key without outer blanks is found; none is learned again.
  for (const auto& entry : loaded) {
    if (!PlainKey(entry[0])) continue;
    (void)store.TranslateText(entry[0]);
    if (store.TransTable().count() != loaded.size()) std::abort();
  }
  // A new text is learned at the end of the table, and saved.
  const std::u16string fresh = u"Fuzz neu \u00DC";
  bool known = false;
  for (const auto& entry : loaded) known = known || entry[0] == fresh;
  if (store.TranslateText(fresh) != fresh) std::abort();
  if (!known) {
    Table expected = loaded;
    expected.emplace_back(tessarin::kSlotCount);
    expected.back()[0] = fresh;
    if (Snapshot(store) != expected) std::abort();
    store.InitTranslation(ProgPath());
    if (Snapshot(store) != expected) std::abort();
  }

  // A deletion keeps every lookup inside the table and saves whole.
  const uint32_t count = store.TransTable().count();
  if (count > 0) {
    store.DeleteTranslationEntry(static_cast<int32_t>(data[0] % count));
    for (const auto& entry : loaded) {
      if (PlainKey(entry[0])) (void)store.TranslateText(entry[0]);
    }
  }
  SaveAndReload(store);
  return 0;
}
