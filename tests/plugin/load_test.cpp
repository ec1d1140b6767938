// Loading the real module: what onLoad asks of the host, in order, what each change hook reads,
// and a reload. What the hooks' values do to the drawing is in the overlay tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/canvas_listing.h"
#include "support/loaded_plugin.h"
#include "support/settings_variables.h"

namespace {

using devhost::Phase;
using devhost::TraceValue;

using veyrant_test::kSettingsVariables;
using Variable = veyrant_test::SettingsVariable;

const char* kOneCar = R"({"cars": [{"name": "Ayla", "keys": [{"t": 0, "throttle": 0.5}]}]})";

TEST(Load, RegistersElevenVariablesEachWithItsHookThenTheDrawableThenLogs) {
  veyrant_test::LoadedPlugin plugin;
  const auto& records = plugin.Records();
  ASSERT_EQ(records.size(), 2 * std::size(kSettingsVariables) + 2);
  for (std::size_t i = 0; i < std::size(kSettingsVariables); ++i) {
    const Variable& v = kSettingsVariables[i];
    const auto& registration = records[2 * i];
    EXPECT_EQ(registration.op, "CVarManagerWrapper::registerCvar");
    EXPECT_EQ(registration.args,
              (std::vector<TraceValue>{std::string(v.name), std::string(v.defaultValue),
                                       std::string(v.description), true, false, 0.0f, false, 0.0f,
                                       true}));
    EXPECT_EQ(records[2 * i + 1].op, "CVarWrapper::addOnValueChanged");
    EXPECT_EQ(records[2 * i + 1].self, std::string("cvar:") + v.name);
  }
  EXPECT_EQ(records[22].op, "GameWrapper::RegisterDrawable");
  EXPECT_EQ(records[23].op, "CVarManagerWrapper::log");
  EXPECT_EQ(records[23].args, std::vector<TraceValue>{std::string("Veyrant loaded")});
  for (const auto& r : records) EXPECT_EQ(r.phase, Phase::Load) << r.op;
  EXPECT_EQ(plugin.Host().Store().LogLines(), std::vector<std::string>{"Veyrant loaded"});
  // A host that reloads all day keeps only the log's tail.
  devhost::CvarStore& store = plugin.Host().Store();
  for (std::size_t i = 0; i < 2 * devhost::kKeptLogLines; ++i) store.Log(std::to_string(i));
  EXPECT_EQ(store.LogLines().size(), devhost::kKeptLogLines);
  EXPECT_EQ(store.LogLines().back(), std::to_string(2 * devhost::kKeptLogLines - 1));
}

class Hook : public testing::TestWithParam<Variable> {};

// Each hook reads its own variable once, with its own getter, and asks nothing else.
TEST_P(Hook, ReadsOnlyItsVariable) {
  veyrant_test::LoadedPlugin plugin;
  plugin.ClearRecords();
  plugin.Set(GetParam().name, "0");
  const auto hookCalls = plugin.RecordsIn(Phase::Hook);
  ASSERT_EQ(hookCalls.size(), 1u);
  EXPECT_EQ(hookCalls[0].op, std::string("CVarWrapper::") + GetParam().getter);
  EXPECT_EQ(hookCalls[0].self, std::string("cvar:") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Variables, Hook, testing::ValuesIn(kSettingsVariables),
                         [](const auto& param) { return std::string(param.param.name); });

// The plugin keeps nothing across deleteMe, and onLoad copies no value the host already holds.
TEST(Reload, StartsFromDefaultsWhateverTheStoreHolds) {
  veyrant_test::LoadedPlugin plugin;
  plugin.Set("veyrant_scale", "2");
  plugin.Host().UnloadAll();
  plugin.Host().LoadPlugin(VEYRANT_MODULE_PATH);
  EXPECT_EQ(plugin.Cvar("veyrant_scale"), "2");
  const auto lines = veyrant_test::DrawLines(plugin.DrawFrame(kOneCar));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "fill 19,21 240x115 12,12,18,220");
}

}  // namespace
