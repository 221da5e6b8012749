// SPDX-License-Identifier: MIT
// The window definitions' "description|pattern" filters as Qt name filters.
#include "dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "dyna_array.h"
#include "shell_fixture.h"

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

std::string lastStderrText;
void RecordText(const std::string& text) { lastStderrText = text; }
void* NoMemory(std::size_t) { return nullptr; }

TEST(DynaArrayErrorBoxesTest, FailedAllocationShowsAnErrorBoxWithoutCaptionWhileInPlace) {
  const DynaArrayMessageBox before = SetDynaArrayMessageBox(&RecordText);
  const DynaArrayAllocator allocator = SetDynaArrayAllocator(&NoMemory);
  testing::FakeDialogs dialogs;
  {
    const DynaArrayErrorBoxes boxes(dialogs);
    TDynaArray array(16, nullptr);
    EXPECT_EQ(array.Add(), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kError);
    EXPECT_TRUE(dialogs.messages[0].caption.isEmpty());
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("Not enough memory")))
        << dialogs.messages[0].text.toStdString();
  }
  // Afterwards the handler in place before takes the failures again.
  lastStderrText.clear();
  TDynaArray array(16, nullptr);
  EXPECT_EQ(array.Add(), nullptr);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(lastStderrText.find("Not enough memory"), std::string::npos);
  SetDynaArrayAllocator(allocator);
  SetDynaArrayMessageBox(before);
}

}  // namespace
}  // namespace tessarin
