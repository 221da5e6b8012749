// SPDX-License-Identifier: MIT
// The stored window state as values, without a window: what a save writes
// under which name, and what a restore takes from the stored values.
#include "window_placement.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "window_state.h"

namespace tessarin {
namespace {

namespace names = state_names;

class MemoryValues final : public StoredValues {
 public:
  using StoredValues::SetText;
  using StoredValues::Text;
  std::optional<QString> Text(const QString& name) const override {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
  void SetText(const QString& name, const QString& value) override {
    values[name] = value;
    written.push_back(name);
  }

  std::map<QString, QString> values;
  std::vector<QString> written;  // names in the order of writing
};

const ScreenFacts kScreen{QSize(1920, 1080), 96};
// A window of 641 by 320 pixels, centred on that screen.
const Placement kCentred{0, QPoint(-1, -1), QPoint(-1, -1), QRect(639, 380, 641, 320)};

TEST(WindowPlacement, SaveWritesEveryValueInOrderAndARestoreTakesItBack) {
  // Given a maximized window moved to 40, 50 with edited fields.
  const Placement placement{8, QPoint(-32000, -32000), QPoint(-8, -8), QRect(40, 50, 641, 320)};
  SettingFields fields;
  fields.maxpercent = QStringLiteral(" 0,5\t");
  fields.splinetests = QStringLiteral("500\r\n");
  fields.keepsplines = true;
  MemoryValues store;

  // When its state is saved.
  WriteWindowState(store, placement, ShowState::kMaximized, true, fields, kScreen);

  // Then every value is written once, in the order of the stored layout.
  const std::vector<std::pair<QString, QString>> expected{
      {QStringLiteral("FormVersion"), QStringLiteral("0")},
      {QStringLiteral("Flags"), QStringLiteral("8")},
      {QStringLiteral("ShowCmd"), QStringLiteral("3")},
      {QStringLiteral("PixelsPerInch"), QStringLiteral("96")},
      {QStringLiteral("MinMaxPos(1920x1080)"), QStringLiteral("-32000,-32000,-8,-8")},
      {QStringLiteral("MinMaxPos"), QStringLiteral("-32000,-32000,-8,-8")},
      {QStringLiteral("NormPos(1920x1080)"), QStringLiteral("40,50,681,370")},
      {QStringLiteral("NormPos"), QStringLiteral("40,50,681,370")},
      {QStringLiteral("Visible"), QStringLiteral("1")},
      {QStringLiteral("OpenCheck_Checked"), QStringLiteral("False")},
      {QStringLiteral("LeaveSplineCheck_Checked"), QStringLiteral("True")},
      {QStringLiteral("AbwEd_Text"), QStringLiteral("0,5")},
      {QStringLiteral("AbwEinhED_Text"), QStringLiteral("1")},
      {QStringLiteral("TestEd_Text"), QStringLiteral("10")},
      {QStringLiteral("SplineTestEd_Text"), QStringLiteral("500")},
  };
  ASSERT_EQ(store.written.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(store.written[i], expected[i].first) << i;
    EXPECT_EQ(store.values[expected[i].first], expected[i].second) << i;
  }

  // And a restore into a centred window with the defaults gives it back.
  const std::optional<RestoredState> restored =
      ReadWindowState(store, kCentred, SettingFields(), kScreen);
  ASSERT_TRUE(restored.has_value());
  ASSERT_TRUE(restored->placement.has_value());
  EXPECT_EQ(restored->placement->flags, 8);
  EXPECT_EQ(restored->placement->minPosition, QPoint(-32000, -32000));
  EXPECT_EQ(restored->placement->maxPosition, QPoint(-8, -8));
  EXPECT_EQ(restored->placement->frame, placement.frame);
  EXPECT_EQ(restored->show, ShowState::kMaximized);
  SettingFields trimmed = fields;
  trimmed.maxpercent = QStringLiteral("0,5");
  trimmed.splinetests = QStringLiteral("500");
  EXPECT_EQ(restored->fields, trimmed);
}

TEST(WindowPlacement, StoredPositionAppliesAtTheSameDensityWithinTheIntRange) {
  struct Row {
    const char* name;
    std::map<QString, QString> values;
    std::optional<QPoint> position;  // nothing: no placement applies
  };
  const QString sized = QStringLiteral("NormPos(1920x1080)");
  const Row rows[] = {
      {"nothing stored", {}, std::nullopt},
      {"plain name", {{QStringLiteral("NormPos"), QStringLiteral("40,50,0,0")}}, QPoint(40, 50)},
      {"screen-size name first",
       {{sized, QStringLiteral("60,70,0,0")}, {QStringLiteral("NormPos"), QStringLiteral("4,5")}},
       QPoint(60, 70)},
      {"empty screen-size name",
       {{sized, QString()}, {QStringLiteral("NormPos"), QStringLiteral("4,5")}},
       QPoint(4, 5)},
      {"other screen size only",
       {{QStringLiteral("NormPos(800x600)"), QStringLiteral("4,5")}},
       std::nullopt},
      {"no number: the current item",
       {{QStringLiteral("NormPos"), QStringLiteral("x,33")}},
       QPoint(639, 33)},
      // The minimized and maximized positions alone keep the current place.
      {"only MinMaxPos",
       {{QStringLiteral("MinMaxPos"), QStringLiteral("1,2,3,4")}},
       QPoint(639, 380)},
      {"same density",
       {{QStringLiteral("NormPos"), QStringLiteral("4,5")},
        {QStringLiteral("PixelsPerInch"), QStringLiteral("96")}},
       QPoint(4, 5)},
      {"other density",
       {{QStringLiteral("NormPos"), QStringLiteral("4,5")},
        {QStringLiteral("PixelsPerInch"), QStringLiteral("120")}},
       std::nullopt},
      {"right edge just inside",
       {{QStringLiteral("NormPos"), QStringLiteral("2147483006,5")}},
       QPoint(2147483006, 5)},
      {"right edge beyond",
       {{QStringLiteral("NormPos"), QStringLiteral("2147483007,5")}},
       std::nullopt},
      {"bottom edge beyond",
       {{QStringLiteral("NormPos"), QStringLiteral("4,2147483328")}},
       std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryValues store;
    store.values = row.values;
    const std::optional<RestoredState> state =
        ReadWindowState(store, kCentred, SettingFields(), kScreen);
    ASSERT_TRUE(state.has_value());
    ASSERT_EQ(state->placement.has_value(), row.position.has_value());
    if (!row.position) continue;
    EXPECT_EQ(state->placement->frame, QRect(*row.position, kCentred.frame.size()));
    // Without a stored "Flags" the current flags stay.
    EXPECT_EQ(state->placement->flags, kCentred.flags);
  }
}

TEST(WindowPlacement, ShowStatesSwitchesAndTheFormVersion) {
  const std::pair<int, ShowState> shows[] = {
      {0, ShowState::kNormal},    {1, ShowState::kNormal},    {2, ShowState::kMinimized},
      {3, ShowState::kMaximized}, {4, ShowState::kNormal},    {5, ShowState::kNormal},
      {6, ShowState::kMinimized}, {7, ShowState::kMinimized}, {8, ShowState::kNormal},
      {9, ShowState::kNormal},    {-1, ShowState::kNormal},   {99, ShowState::kNormal},
  };
  for (const auto& [code, show] : shows) EXPECT_EQ(ShowStateOf(code), show) << code;

  // Switches: "True" or "False" in any case; anything else keeps the field,
  // as does a missing text.
  MemoryValues store;
  store.SetText(names::kOpenCheck, QStringLiteral("tRuE"));
  store.SetText(names::kLeaveSplineCheck, QStringLiteral("yes"));
  store.SetText(names::kTestEd, QString());
  SettingFields fields;
  fields.keepsplines = true;
  fields.maxunits = QStringLiteral("7");
  std::optional<RestoredState> state = ReadWindowState(store, kCentred, fields, kScreen);
  ASSERT_TRUE(state.has_value());
  EXPECT_TRUE(state->fields.openresult);
  EXPECT_TRUE(state->fields.keepsplines);
  EXPECT_EQ(state->fields.maxunits, QStringLiteral("7"));
  EXPECT_EQ(state->fields.arctests, QString());  // an empty text is a text
  EXPECT_EQ(state->show, ShowState::kNormal);

  // A negative "FormVersion" restores nothing at all; a text that is no
  // number counts as 0.
  store.SetText(names::kFormVersion, QStringLiteral("-1"));
  EXPECT_FALSE(ReadWindowState(store, kCentred, fields, kScreen).has_value());
  store.SetText(names::kFormVersion, QStringLiteral("new"));
  EXPECT_TRUE(ReadWindowState(store, kCentred, fields, kScreen).has_value());
}

}  // namespace
}  // namespace tessarin
