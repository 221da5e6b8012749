// SPDX-License-Identifier: MIT
// The window definitions' "description|pattern" filters as Qt name filters.
#include "dialogs.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(QtNameFiltersTest, MapsEachDescriptionAndPatternPair) {
  struct Case {
    const char* name;
    QString filter;
    QString expected;
  };
  const Case cases[] = {
      {"the program's own", QStringLiteral("DXF-Dateien (*.dxf)|*.dxf"),
       QStringLiteral("DXF-Dateien (*.dxf)")},
      {"description without patterns", QStringLiteral("DXF files|*.dxf"),
       QStringLiteral("DXF files (*.dxf)")},
      {"several patterns", QStringLiteral("Drawings|*.dxf;*.DXF"),
       QStringLiteral("Drawings (*.dxf *.DXF)")},
      {"two entries", QStringLiteral("DXF (*.dxf)|*.dxf|All files|*.*"),
       QStringLiteral("DXF (*.dxf);;All files (*.*)")},
      {"brackets that are no patterns", QStringLiteral("DXF (R12)|*.dxf"),
       QStringLiteral("DXF (R12) (*.dxf)")},
      {"no pattern at all", QStringLiteral("DXF-Dateien (*.dxf)"),
       QStringLiteral("DXF-Dateien (*.dxf)")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QtNameFilters(c.filter), c.expected);
  }
}

}  // namespace
}  // namespace tessarin
