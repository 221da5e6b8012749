// SPDX-License-Identifier: MIT
// Locale-independent reading of the numbers in DXF values and setting fields,
// and FloatToDXF, the one rule that turns numbers into DXF text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessarin {

// Reads a decimal number: optional spaces around it, an optional sign, digits
// with an optional decimal separator (at least one digit), an optional
// exponent "E"/"e" with optional sign and at least one digit. Correctly
// rounded. "inf", "nan", hexadecimal texts and values beyond the double range
// cannot be read (nullopt); a value too small for a double reads as zero.
std::optional<double> ParseDxfDouble(std::string_view text, char separator = '.');

// Reads a decimal 32-bit signed integer: optional leading spaces, an optional
// sign, digits. Nothing may follow the digits, so "3 " cannot be read.
std::optional<int32_t> ParseDxfInt(std::string_view text);

// Reads a handle: one or more hexadecimal digits of either case, at most
// FFFFFFFF. The caller passes the trimmed value.
std::optional<uint32_t> ParseDxfHandle(std::string_view text);

// Upper-case hexadecimal without leading zeros, as handles are written.
std::string HandleToDXF(uint32_t handle);

// Number to DXF text: 15 significant digits in plain notation; where that
// would need scientific notation, 18 decimals in fixed notation instead, or
// up to 18 significant digits in scientific notation from 1e18 on. Ties round
// half away from zero on the exact value of the double. "NAN", "INF", "-INF".
std::string FloatToDXF(double x);

}  // namespace tessarin
