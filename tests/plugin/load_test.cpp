// Loading the real module: what onLoad asks of the host, in order, and what the change hooks do
// with the values the host reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/canvas_listing.h"
#include "support/loaded_plugin.h"

namespace {

using devhost::Phase;
using devhost::TraceValue;

struct Variable {
  const char* name;
  const char* defaultValue;
  const char* description;
  const char* read;  // the getter its hook reads with
};

const Variable kVariables[] = {
    {"veyrant_x", "0.01", "X position (0-1)", "getFloatValue"},
    {"veyrant_y", "0.02", "Y position (0-1)", "getFloatValue"},
    {"veyrant_scale", "1.0", "Size scale", "getFloatValue"},
    {"veyrant_enabled", "1", "Show overlay", "getBoolValue"},
    {"veyrant_throttle", "1", "Show throttle", "getBoolValue"},
    {"veyrant_steer", "1", "Show steer", "getBoolValue"},
    {"veyrant_roll", "1", "Show airroll", "getBoolValue"},
    {"veyrant_boost", "1", "Show boost", "getBoolValue"},
    {"veyrant_jump", "1", "Show jump", "getBoolValue"},
    {"veyrant_hb", "1", "Show handbrake", "getBoolValue"},
    {"veyrant_values", "0", "Show bar values", "getBoolValue"},
};

const char* kOneCar = R"({"cars": [{"name": "Ayla", "keys": [{"t": 0, "throttle": 0.5}]}]})";

TEST(Load, RegistersElevenVariablesEachWithItsHookThenTheDrawableThenLogs) {
  veyrant_test::LoadedPlugin plugin;
  const auto& records = plugin.Records();
  ASSERT_EQ(records.size(), 2 * std::size(kVariables) + 2);
  for (std::size_t i = 0; i < std::size(kVariables); ++i) {
    const Variable& v = kVariables[i];
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
}

class Hook : public testing::TestWithParam<Variable> {};

// Each hook reads its own variable once, with its own getter, and asks nothing else.
TEST_P(Hook, ReadsOnlyItsVariable) {
  veyrant_test::LoadedPlugin plugin;
  plugin.ClearRecords();
  plugin.Set(GetParam().name, "0");
  const auto hookCalls = plugin.RecordsIn(Phase::Hook);
  ASSERT_EQ(hookCalls.size(), 1u);
  EXPECT_EQ(hookCalls[0].op, std::string("CVarWrapper::") + GetParam().read);
  EXPECT_EQ(hookCalls[0].self, std::string("cvar:") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Variables, Hook, testing::ValuesIn(kVariables),
                         [](const auto& param) { return std::string(param.param.name); });

struct Reported {
  const char* name;
  const char* value;
  std::vector<std::string> fills;  // the first fills of the next frame
};

class HookStores : public testing::TestWithParam<Reported> {};

// What the host reports reaches the drawing unchanged: no clamping, no other field touched.
TEST_P(HookStores, TheValueAsReported) {
  veyrant_test::LoadedPlugin plugin;
  plugin.UseScene(kOneCar);
  plugin.Set(GetParam().name, GetParam().value);
  plugin.ClearRecords();
  plugin.RunFrames(1);
  auto fills = veyrant_test::DrawLines(plugin.CanvasCalls(), "fill");
  fills.resize(std::min(fills.size(), GetParam().fills.size()));
  EXPECT_EQ(fills, GetParam().fills);
}

INSTANTIATE_TEST_SUITE_P(
    Values, HookStores,
    testing::Values(Reported{"veyrant_x", "1.5", {"fill 2880,21 240x115 12,12,18,220"}},
                    Reported{"veyrant_x", "-0.2", {"fill -384,21 240x115 12,12,18,220"}},
                    Reported{"veyrant_y", "0.5", {"fill 19,540 240x115 12,12,18,220"}},
                    Reported{"veyrant_scale", "2", {"fill 19,21 480x230 12,12,18,220"}},
                    Reported{"veyrant_enabled", "0", {}},
                    Reported{"veyrant_roll", "0", {"fill 19,21 240x100 12,12,18,220"}},
                    Reported{"veyrant_hb", "0", {"fill 19,21 240x115 12,12,18,220"}}));

TEST(HookStores, ValuesSwitchesOnTheValueTextsAndNothingElse) {
  veyrant_test::LoadedPlugin plugin;
  plugin.UseScene(kOneCar);
  plugin.RunFrames(1);
  const auto before = veyrant_test::DrawLines(plugin.CanvasCalls());
  const auto fillsBefore = veyrant_test::DrawLines(plugin.CanvasCalls(), "fill");
  plugin.Set("veyrant_values", "1");
  plugin.ClearRecords();
  plugin.RunFrames(1);
  const auto after = veyrant_test::DrawLines(plugin.CanvasCalls());
  ASSERT_EQ(after.size(), before.size() + 3);
  EXPECT_EQ(veyrant_test::DrawLines(plugin.CanvasCalls(), "fill"), fillsBefore);
  std::vector<std::string> texts;
  for (const auto& line : veyrant_test::DrawLines(plugin.CanvasCalls(), "text"))
    if (line.find(" 0.75 ") != std::string::npos) texts.push_back(line.substr(line.rfind(' ') + 1));
  EXPECT_EQ(texts, (std::vector<std::string>{"50%", "0%", "0%"}));
}

// The plugin keeps nothing across deleteMe, and onLoad copies no value the host already holds.
TEST(Reload, StartsFromDefaultsWhateverTheStoreHolds) {
  veyrant_test::LoadedPlugin plugin;
  plugin.UseScene(kOneCar);
  plugin.Set("veyrant_scale", "2");
  plugin.Host().UnloadAll();
  plugin.Host().LoadPlugin(VEYRANT_MODULE_PATH);
  EXPECT_EQ(plugin.Cvar("veyrant_scale"), "2");
  plugin.ClearRecords();
  plugin.RunFrames(1);
  ASSERT_FALSE(plugin.CanvasCalls().empty());
  EXPECT_EQ(veyrant_test::DrawLines(plugin.CanvasCalls()).front(),
            "fill 19,21 240x115 12,12,18,220");
}

}  // namespace
