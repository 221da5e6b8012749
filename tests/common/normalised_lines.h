// SPDX-License-Identifier: MIT
// What a run writes for a drawing without splines: the input's lines by the
// line rules (LF or CR LF ends a line, a lone CR is dropped, 0x1A ends the
// input), each ended by CR LF, padded to whole pairs.
#pragma once

#include <string>
#include <string_view>

namespace tessarin::testing {

inline std::string Normalised(std::string_view input) {
  input = input.substr(0, input.find('\x1A'));
  std::string out;
  size_t lines = 0;
  size_t start = 0;
  while (start < input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    for (size_t i = start; i < end; ++i) {
      if (input[i] != '\r') out += input[i];
    }
    out += "\r\n";
    ++lines;
    start = end + 1;
  }
  if (lines % 2 == 1) out += "\r\n";
  return out;
}

}  // namespace tessarin::testing
