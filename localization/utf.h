// SPDX-License-Identifier: MIT
// UTF-8 <-> UTF-16 conversion for texts that cross into or out of the
// program's UTF-16 world (terminal output, file names).
#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// Invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace tessarin
