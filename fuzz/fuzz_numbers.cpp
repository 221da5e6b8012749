// SPDX-License-Identifier: MIT
// Number parsers and FloatToDXF: no input crashes them, and the text of
// every double parses back to it within the digits the text carries.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "dxf_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)tessarin::ParseDxfDouble(text, '.');
  (void)tessarin::ParseDxfDouble(text, ',');
  (void)tessarin::ParseDxfInt(text);
  (void)tessarin::ParseDxfHandle(text);

  if (size < sizeof(double)) return 0;
  double x;
  std::memcpy(&x, data, sizeof x);
  const std::string dxf = tessarin::FloatToDXF(x);
  if (std::isnan(x)) {
    if (dxf != "NAN") std::abort();
    return 0;
  }
  if (std::isinf(x)) {
    if (dxf != (x > 0 ? "INF" : "-INF")) std::abort();
    return 0;
  }
  const auto back = tessarin::ParseDxfDouble(dxf);
  if (!back) std::abort();
  // 15 significant digits in plain notation; 18 decimals, or 18 significant
  // digits from 1e18 on, otherwise.
  const double ax = std::fabs(x);
  double tolerance;
  if (dxf.find('E') != std::string::npos) {
    tolerance = ax * 1e-17;
  } else if (dxf.find('.') != std::string::npos && dxf.size() - dxf.find('.') - 1 == 18 &&
             (ax < 1e-4 || ax >= 1e15)) {
    tolerance = std::max(ax * 1e-17, 1e-18);
  } else {
    tolerance = ax * 1e-14;
  }
  if (std::fabs(*back - x) > tolerance) std::abort();
  return 0;
}
