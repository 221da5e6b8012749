// SPDX-License-Identifier: MIT
// "options.dat" in the program folder: the interface language code as a
// signed 32-bit little-endian integer, nothing else.
#pragma once

#include <QString>
#include <optional>

namespace tessarin {

inline constexpr int kLanguageCount = 7;  // codes 0 (German) to 6 (Portuguese)

// The stored code, read from the file's first 4 bytes. Nothing when the file
// is missing, marked read-only or not openable for writing, shorter than 4
// bytes, or holds a code outside 0 to 6.
std::optional<int> ReadLanguageCode(const QString& path);

// Writes `code` as 4 bytes beside the file and renames it into place, so a
// crash or a full disk never leaves a broken file. A file marked read-only
// is left alone. Returns whether the file now holds the code.
bool WriteLanguageCode(const QString& path, int code);

}  // namespace tessarin
