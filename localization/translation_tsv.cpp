// SPDX-License-Identifier: MIT
// Reading and writing the tab-separated translation table, with its escapes
// and the checks that keep every key findable.
#include "translation_tsv.h"

#include <map>
#include <ostream>

#include "translation_file.h"
#include "utf.h"

namespace tessarin {

namespace {

constexpr std::string_view kHeader =
    "German\tEnglish\tFran\xC3\xA7"
    "ais\tNederlands\tItalian\tSpanish\tPortuguese";

std::string LinePrefix(int line) { return "line " + std::to_string(line) + ": "; }

bool Unescape(std::string_view field, std::string& out, std::string& error) {
  out.clear();
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out.push_back(field[i]);
      continue;
    }
    if (i + 1 == field.size()) {
      error = "a backslash at the end of the field (use \\\\ for a backslash)";
      return false;
    }
    const char next = field[i + 1];
    switch (next) {
      case 't':
        out.push_back('\t');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case '\\':
        out.push_back('\\');
        break;
      default:
        error = "unknown escape \"\\" + std::string(1, next) + "\" (use \\t, \\n, \\r or \\\\)";
        return false;
    }
    ++i;
  }
  return true;
}

std::string Escape(std::u16string_view text) {
  std::string out;
  for (const char c : Utf16ToUtf8(text)) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace

bool ParseTranslationTsv(std::string_view text, std::vector<TranslationRow>& rows,
                         std::string& error) {
  rows.clear();
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::map<std::u16string, int> keyLines;
  int line = 0;
  bool headerSeen = false;
  while (!text.empty()) {
    ++line;
    const std::size_t end = text.find('\n');
    std::string_view content = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (content.ends_with('\r')) content.remove_suffix(1);

    if (!headerSeen) {
      if (content != kHeader) {
        error = LinePrefix(line) + "the first line must name the columns: " + std::string(kHeader);
        return false;
      }
      headerSeen = true;
      continue;
    }
    if (content.empty()) continue;

    // The text must survive the conversion to UTF-16 unchanged.
    if (Utf16ToUtf8(Utf8ToUtf16(content)) != content) {
      error = LinePrefix(line) + "not valid UTF-8";
      return false;
    }
    if (content.find('\0') != std::string_view::npos) {
      error = LinePrefix(line) + "holds a NUL character";
      return false;
    }
    TranslationRow row;
    int column = 0;
    while (true) {
      const std::size_t tab = content.find('\t');
      if (column == kTsvColumns) {
        error = LinePrefix(line) + "more than " + std::to_string(kTsvColumns) + " columns";
        return false;
      }
      std::string field;
      if (!Unescape(content.substr(0, tab), field, error)) {
        error = LinePrefix(line) + "column " + std::to_string(column + 1) + ": " + error;
        return false;
      }
      row[static_cast<std::size_t>(column)] = Utf8ToUtf16(field);
      ++column;
      if (tab == std::string_view::npos) break;
      content.remove_prefix(tab + 1);
    }
    const std::u16string& key = row[0];
    if (key.empty()) {
      error = LinePrefix(line) + "the German text is empty";
      return false;
    }
    if (key.front() == u' ' || key.back() == u' ') {
      error = LinePrefix(line) + "the German text has a blank at its start or end";
      return false;
    }
    const auto [found, inserted] = keyLines.emplace(key, line);
    if (!inserted) {
      error = LinePrefix(line) + "the German text is on line " + std::to_string(found->second) +
              " already";
      return false;
    }
    rows.push_back(std::move(row));
  }
  if (!headerSeen) {
    error = "the table is empty: the first line must name the columns: " + std::string(kHeader);
    return false;
  }
  return true;
}

bool FormatTranslationTsv(const std::vector<TranslationRow>& rows, std::string& text,
                          std::string& error) {
  text = std::string(kHeader) + "\n";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (int s = kTsvColumns; s < kSlotCount; ++s) {
      if (!rows[r][static_cast<std::size_t>(s)].empty()) {
        error = "entry " + std::to_string(r + 1) + " has a text in slot " + std::to_string(s) +
                ", which the table has no column for";
        return false;
      }
    }
    for (int c = 0; c < kTsvColumns; ++c) {
      if (c > 0) text.push_back('\t');
      text += Escape(rows[r][static_cast<std::size_t>(c)]);
    }
    text.push_back('\n');
  }
  return true;
}

void WriteTranslationFile(std::ostream& file, const std::vector<TranslationRow>& rows) {
  WriteTableHeader(file, static_cast<std::int32_t>(rows.size()));
  for (const TranslationRow& row : rows) {
    for (const std::u16string& slot : row) WriteTableText(file, slot);
  }
}

}  // namespace tessarin
