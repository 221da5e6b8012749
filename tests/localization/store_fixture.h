// SPDX-License-Identifier: MIT
// A temporary program folder for the translation store, and a builder of
// "translate.dat" bytes that can also write damaged files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "dyna_array.h"
#include "translation_store.h"

namespace tessarin::testing {

using Bytes = std::vector<unsigned char>;

inline Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Little-endian pieces of the file format, written by hand so that the tests
// do not depend on the code they check.
class FileBuilder {
 public:
  FileBuilder& Int(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back((bits >> shift) & 0xFF);
    return *this;
  }
  FileBuilder& Text(std::u16string_view text) {
    Int(static_cast<std::int32_t>(text.size()));
    for (const char16_t unit : text) {
      bytes_.push_back(unit & 0xFF);
      bytes_.push_back(unit >> 8);
    }
    return *this;
  }
  // Code units without a length before them.
  FileBuilder& Raw(std::u16string_view text) {
    for (const char16_t unit : text) {
      bytes_.push_back(unit & 0xFF);
      bytes_.push_back(unit >> 8);
    }
    return *this;
  }
  // An entry of `slots` strings: `texts` first, then empty ones.
  FileBuilder& Entry(std::vector<std::u16string> texts, int slots = kSlotCount) {
    texts.resize(static_cast<std::size_t>(slots));
    for (const auto& text : texts) Text(text);
    return *this;
  }
  FileBuilder& Truncate(std::size_t size) {
    bytes_.resize(size);
    return *this;
  }
  std::size_t size() const { return bytes_.size(); }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

// Each test gets a folder of its own and a store over it.
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("tessarin-store-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(root_);
    folder_ = root_;
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(root_, error);
  }

  std::filesystem::path DatFile() const { return folder_ / "translate.dat"; }
  // The program folder as the main window hands it over, ending in a separator.
  std::string ProgPath() const { return (folder_ / "").string(); }
  void Init() { store_.InitTranslation(ProgPath()); }
  void InitWith(const FileBuilder& file) {
    WriteBytes(DatFile(), file.bytes());
    Init();
  }
  // The table's entries, in table order, as the editor reads them.
  std::vector<std::vector<std::u16string>> Table() {
    std::vector<std::vector<std::u16string>> entries;
    TDynaArray& table = store_.TransTable();
    table.First();
    while (table.WhileNext()) {
      std::vector<std::u16string> slots;
      for (int s = 0; s < kSlotCount; ++s) slots.emplace_back(SlotText(*store_.CurEntry(), s));
      entries.push_back(std::move(slots));
    }
    return entries;
  }
  // An entry as Table() gives it: `texts`, then empty slots up to 20.
  static std::vector<std::u16string> Slots(std::vector<std::u16string> texts) {
    texts.resize(kSlotCount);
    return texts;
  }
  std::vector<std::filesystem::path> FolderContents() const {
    std::vector<std::filesystem::path> names;
    for (const auto& item : std::filesystem::directory_iterator(folder_)) {
      names.push_back(item.path().filename());
    }
    return names;
  }

  // The program folder; a test may point it below the temporary root.
  std::filesystem::path folder_;
  TranslationStore store_;

 private:
  std::filesystem::path root_;
};

}  // namespace tessarin::testing
