// SPDX-License-Identifier: MIT
// Build tool: turns the readable translation table (UTF-8, tab-separated)
// into "translate.dat", and a "translate.dat" back into such a table.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "translation_file.h"
#include "translation_tsv.h"

namespace {

using tessarin::TranslationRow;

constexpr const char* kUsage =
    "usage: make_translate_dat TABLE.tsv OUTPUT.dat\n"
    "       make_translate_dat --tsv INPUT.dat TABLE.tsv\n";

int Fail(const std::filesystem::path& file, const std::string& message) {
  std::fprintf(stderr, "make_translate_dat: %s: %s\n", file.string().c_str(), message.c_str());
  return 1;
}

bool ReadWhole(const std::filesystem::path& path, std::string& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

// Writes beside the target and renames it into place, so that a failed run
// leaves no half-written file.
bool WriteWhole(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    std::error_code error;
    if (file.fail()) {
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) std::filesystem::remove(temporary, error);
  return !error;
}

int TsvToDat(const std::filesystem::path& input, const std::filesystem::path& output) {
  std::string text;
  if (!ReadWhole(input, text)) return Fail(input, "cannot be read");
  std::vector<TranslationRow> rows;
  std::string error;
  if (!tessarin::ParseTranslationTsv(text, rows, error)) return Fail(input, error);
  std::ostringstream bytes;
  tessarin::WriteTranslationFile(bytes, rows);
  if (!WriteWhole(output, bytes.str())) return Fail(output, "cannot be written");
  return 0;
}

int DatToTsv(const std::filesystem::path& input, const std::filesystem::path& output) {
  std::error_code fault;
  const std::uintmax_t size = std::filesystem::file_size(input, fault);
  std::ifstream file(input, std::ios::binary);
  if (fault || !file) return Fail(input, "cannot be read");
  std::vector<TranslationRow> rows;
  const bool whole = tessarin::ReadTranslationEntries(file, size, [&rows](TranslationRow& slots) {
    rows.push_back(std::move(slots));
    return true;
  });
  if (!whole) return Fail(input, "is damaged or not a translation table");
  std::string text;
  std::string error;
  if (!tessarin::FormatTranslationTsv(rows, text, error)) return Fail(input, error);
  if (!WriteWhole(output, text)) return Fail(output, "cannot be written");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && !args[0].starts_with("-")) return TsvToDat(args[0], args[1]);
  if (args.size() == 3 && args[0] == "--tsv") return DatToTsv(args[1], args[2]);
  std::fputs(kUsage, stderr);
  return 2;
}
