// SPDX-License-Identifier: MIT
// The readable source of "translate.dat": a UTF-8 table of tab-separated
// values, the German key and the six translations on each line.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "translation_store.h"

namespace tessarin {

// One table entry, all 20 slots; slot 0 is the German key.
using TranslationRow = std::array<std::u16string, kSlotCount>;

// Columns of the table: slots 0 to 6.
constexpr int kTsvColumns = 7;

// The format:
// - UTF-8, an optional byte order mark, lines ending in LF or CR LF;
// - the first line names the columns, separated by tabs:
//   German, English, Français, Nederlands, Italian, Spanish, Portuguese;
// - every further line that is not empty is one entry: up to 7 fields
//   separated by tabs; missing fields at the end are empty;
// - within a field "\t" stands for a tab, "\n" for a line feed, "\r" for a
//   carriage return and "\\" for a backslash; any other backslash is an error;
// - the German key is not empty, has no blank at either end (lookups drop
//   those, so it would never be found) and appears once.
//
// Parses `text` into `rows`; on a fault returns false and sets `error` to a
// message that names the line.
bool ParseTranslationTsv(std::string_view text, std::vector<TranslationRow>& rows,
                         std::string& error);

// The table as ParseTranslationTsv reads it: the header line, then one line
// per row with all 7 fields, every line ending in LF. Returns false and sets
// `error` when a row has text in slots 7 to 19, which the table cannot hold.
bool FormatTranslationTsv(const std::vector<TranslationRow>& rows, std::string& text,
                          std::string& error);

// Writes `rows` in the format of "translate.dat" (20 slots per entry).
void WriteTranslationFile(std::ostream& file, const std::vector<TranslationRow>& rows);

}  // namespace tessarin
