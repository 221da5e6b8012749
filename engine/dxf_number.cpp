// SPDX-License-Identifier: MIT
// Number parsing on std::from_chars (never the C locale) and the FloatToDXF
// formatting rule, which rounds on exact decimal digits of the double.
#include "dxf_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace tessarin {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseDxfDouble(std::string_view text, char separator) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;

  // Check the syntax ourselves: from_chars would also take "inf", "nan" and a
  // partial number such as the "1" of "1e".
  bool negative = false;
  size_t i = begin;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t mantissaBegin = i;
  size_t intDigits = 0;
  while (i < end && IsDigit(text[i])) ++i, ++intDigits;
  size_t fracDigits = 0;
  size_t separatorAt = std::string_view::npos;
  if (i < end && text[i] == separator) {
    separatorAt = i++;
    while (i < end && IsDigit(text[i])) ++i, ++fracDigits;
  }
  const size_t mantissaEnd = i;
  if (intDigits + fracDigits == 0) return std::nullopt;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < end && IsDigit(text[i])) ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != end) return std::nullopt;

  // from_chars wants "." and no "+"; copy only when the text differs.
  std::string normalised;
  std::string_view number = text.substr(mantissaBegin, end - mantissaBegin);
  if (negative || separator != '.') {
    normalised.reserve(number.size() + 1);
    if (negative) normalised.push_back('-');
    normalised.append(number);
    if (separatorAt != std::string_view::npos) {
      normalised[separatorAt - mantissaBegin + (negative ? 1 : 0)] = '.';
    }
    number = normalised;
  }

  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                         std::chars_format::general);
  if (ec == std::errc()) {
    return ptr == number.data() + number.size() ? std::optional<double>(value) : std::nullopt;
  }
  if (ec != std::errc::result_out_of_range) return std::nullopt;

  // Out of range: overflow cannot be read, underflow reads as zero. The
  // decimal exponent of the first non-zero mantissa digit tells them apart.
  long long firstDigitExp = 0;
  bool seenNonZero = false;
  long long position = static_cast<long long>(intDigits);  // power of ten + 1 of the next digit
  for (size_t k = mantissaBegin; k < mantissaEnd; ++k) {
    if (k == separatorAt) continue;
    --position;
    if (text[k] != '0') {
      firstDigitExp = position;
      seenNonZero = true;
      break;
    }
  }
  long long exponent = 0;
  if (mantissaEnd < end) {
    size_t k = mantissaEnd + 1;
    bool expNegative = false;
    if (text[k] == '+' || text[k] == '-') expNegative = text[k++] == '-';
    for (; k < end; ++k) exponent = std::min(exponent * 10 + (text[k] - '0'), 1000000000LL);
    if (expNegative) exponent = -exponent;
  }
  if (seenNonZero && firstDigitExp + exponent < 0) return negative ? -0.0 : 0.0;
  return std::nullopt;
}

std::optional<int32_t> ParseDxfInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') {
    ++first;
    if (first == last || *first == '-') return std::nullopt;
  }
  int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(first, last, value, 10);
  if (ec != std::errc() || ptr != last) return std::nullopt;
  return value;
}

std::optional<uint32_t> ParseDxfHandle(std::string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

std::string HandleToDXF(uint32_t handle) {
  std::array<char, 8> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), handle, 16);
  std::string text(buffer.data(), result.ptr);
  for (char& c : text) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

namespace {

// A finite non-zero double as decimal digits: value = 0.d1 d2 d3 ... x 10^point,
// so `point` is the number of digits before the decimal separator.
struct Decimal {
  std::string digits;  // d1 != '0'; no trailing zeros
  int point = 0;
  bool negative = false;
};

// Digits of |x| rounded to `precision` significant digits (correctly rounded).
Decimal DigitsOf(double x, int precision) {
  std::array<char, 800> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(x),
                                    std::chars_format::scientific, precision - 1);
  const std::string_view text(buffer.data(), static_cast<size_t>(result.ptr - buffer.data()));
  const size_t e = text.find('e');
  Decimal d;
  d.negative = std::signbit(x);
  d.digits.push_back(text[0]);
  if (e > 1) d.digits.append(text.substr(2, e - 2));
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  exponent);
  d.point = exponent + 1;
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Exact decimal digits of a double: 767 significant digits hold any double.
constexpr int kExactDigits = 767;
// Enough digits to round at any place FloatToDXF asks for (at most the 18th
// significant digit), unless the rest is an apparent tie.
constexpr int kQuickDigits = 40;

// Rounds `d` half away from zero so that no digit below 10^lowestPower
// remains. The quick digits decide every case but an apparent tie ("5" and
// nothing after it), which may stem from rounding 4999... up; the exact digits
// of `x` decide that one.
Decimal RoundAtPower(const Decimal& d, int lowestPower, double x) {
  const int keep = d.point - lowestPower;  // significant digits that stay
  if (keep >= static_cast<int>(d.digits.size())) return d;
  Decimal r;
  r.negative = d.negative;
  if (keep < 0) return r;  // less than half of the lowest kept unit: zero
  const Decimal& source = (d.digits[keep] == '5' && keep + 1 == static_cast<int>(d.digits.size()))
                              ? DigitsOf(x, kExactDigits)
                              : d;
  const bool up = keep < static_cast<int>(source.digits.size()) && source.digits[keep] >= '5';
  r.digits = source.digits.substr(0, keep);
  r.point = source.point;
  if (up) {
    int k = keep - 1;
    while (k >= 0 && r.digits[k] == '9') r.digits[k--] = '0';
    if (k >= 0) {
      ++r.digits[k];
    } else {
      r.digits.insert(r.digits.begin(), '1');
      ++r.point;
    }
  }
  while (!r.digits.empty() && r.digits.back() == '0') r.digits.pop_back();
  return r;
}

bool IsZero(const Decimal& d) { return d.digits.empty(); }

// Plain notation with at most `decimals` digits after the separator (all of
// them when `padded`), no trailing zeros otherwise.
std::string FixedText(const Decimal& d, int decimals, bool padded) {
  std::string text;
  if (d.negative && !IsZero(d)) text.push_back('-');
  const int n = static_cast<int>(d.digits.size());
  if (d.point <= 0) {
    text.push_back('0');
  } else {
    for (int k = 0; k < d.point; ++k) text.push_back(k < n ? d.digits[k] : '0');
  }
  std::string fraction;
  for (int k = 0; k < decimals; ++k) {
    const int index = d.point + k;
    fraction.push_back(index >= 0 && index < n ? d.digits[index] : '0');
  }
  if (!padded) {
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  }
  if (!fraction.empty()) {
    text.push_back('.');
    text += fraction;
  }
  return text;
}

std::string ScientificText(const Decimal& d) {
  std::string text;
  if (d.negative) text.push_back('-');
  text.push_back(d.digits[0]);
  if (d.digits.size() > 1) {
    text.push_back('.');
    text.append(d.digits, 1);
  }
  text.push_back('E');
  text += std::to_string(d.point - 1);
  return text;
}

}  // namespace

std::string FloatToDXF(double x) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
  if (x == 0.0) return "0";  // exact: also negative zero

  const Decimal quick = DigitsOf(x, kQuickDigits);

  // First text: 15 significant digits.
  const Decimal r15 = RoundAtPower(quick, quick.point - 15, x);
  const int exponent15 = r15.point - 1;
  if (exponent15 >= -4 && exponent15 < 15) return FixedText(r15, 20, false);

  // The first text would be scientific.
  if (quick.point - 1 >= 18) {
    return ScientificText(RoundAtPower(quick, quick.point - 18, x));
  }
  // 18 decimals: rounded once, at the coarser of the 18th significant digit
  // and the 20th decimal place, then cut after the 18th decimal.
  const int lowest = std::max(quick.point - 18, -20);
  return FixedText(RoundAtPower(quick, lowest, x), 18, true);
}

}  // namespace tessarin
