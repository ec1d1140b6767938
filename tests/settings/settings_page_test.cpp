// The settings page worked through the development host like a person: the host's own window, real
// mouse and key input on the widgets' drawn positions, and what reached the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/loaded_plugin.h"
#include "ui/settings_driver.h"

namespace {

using devhost::Phase;
using devhost::TraceRecord;

const std::vector<std::string> kVariables = {"veyrant_x",       "veyrant_y",        "veyrant_scale",
                                             "veyrant_enabled", "veyrant_throttle", "veyrant_steer",
                                             "veyrant_roll",    "veyrant_boost",    "veyrant_jump",
                                             "veyrant_hb",      "veyrant_values"};

class SettingsPage : public testing::Test {
 protected:
  SettingsPage()
      : session_(devhost::SettingsWindow::kDisplaySize),
        window_(session_, *plugin_.Host().Plugins().front()),
        driver_(window_) {
    driver_.RunFrame();
    plugin_.ClearRecords();
  }

  std::vector<TraceRecord> PageCalls() { return plugin_.RecordsIn(Phase::Settings); }
  std::vector<std::string> Values() {
    std::vector<std::string> out;
    for (const auto& name : kVariables) out.push_back(plugin_.Cvar(name));
    return out;
  }
  std::string Shown(const std::string& label) { return driver_.Find(label).shown; }
  bool Ticked(const std::string& label) { return driver_.Find(label).checked; }
  // The calls of one write-through: the variable fetched by name, then set, on one UI frame.
  void ExpectOneWrite(const std::string& variable, const devhost::TraceValue& value) {
    const auto calls = PageCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].op, "CVarManagerWrapper::getCvar");
    EXPECT_EQ(calls[0].args, std::vector<devhost::TraceValue>{variable});
    EXPECT_EQ(calls[1].op, "CVarWrapper::setValue");
    EXPECT_EQ(calls[1].self, "cvar:" + variable);
    EXPECT_EQ(calls[1].args, std::vector<devhost::TraceValue>{value});
    EXPECT_EQ(calls[0].frame, calls[1].frame);
  }

  veyrant_test::LoadedPlugin plugin_;
  devhost::ImGuiSession session_;
  devhost::SettingsWindow window_;
  devhost::SettingsDriver driver_;
};

TEST_F(SettingsPage, ShowsTheDefaults) {
  std::vector<std::string> labels, texts;
  for (const auto& widget : driver_.Widgets()) labels.push_back(widget.label);
  for (const auto& text : driver_.Texts()) texts.push_back(text.text);
  EXPECT_EQ(labels, (std::vector<std::string>{"Show overlay in replays", "X (%)", "Y (%)", "Scale",
                                              "Throttle / Brake", "Steer", "Airroll", "Boost",
                                              "Jump", "Handbrake", "Show values on bars"}));
  // The title bar comes first; a heading's doubled percent sign shows as one.
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "Veyrant");
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Position (% of screen)"), 1);
  EXPECT_EQ(Shown("X (%)"), "1.0%");
  EXPECT_EQ(Shown("Y (%)"), "2.0%");
  EXPECT_EQ(Shown("Scale"), "1.00x");
  for (const char* box : {"Show overlay in replays", "Throttle / Brake", "Steer", "Airroll",
                          "Boost", "Jump", "Handbrake"})
    EXPECT_TRUE(Ticked(box)) << box;
  EXPECT_FALSE(Ticked("Show values on bars"));
}

TEST_F(SettingsPage, UntickingAndTickingSteerWritesOnTheClickFrame) {
  const std::int64_t first = window_.NextFrame();
  driver_.Click("Steer");
  ExpectOneWrite("veyrant_steer", std::int64_t{0});
  // Pressed on one frame, released (and so clicked) on the next.
  EXPECT_EQ(PageCalls()[0].frame, first + 1);
  EXPECT_FALSE(Ticked("Steer"));
  EXPECT_EQ(plugin_.Cvar("veyrant_steer"), "0");

  plugin_.ClearRecords();
  driver_.Click("Steer");
  ExpectOneWrite("veyrant_steer", std::int64_t{1});
  EXPECT_TRUE(Ticked("Steer"));
  EXPECT_EQ(plugin_.Cvar("veyrant_steer"), "1");
}

TEST_F(SettingsPage, DraggingXToItsEnds) {
  driver_.DragTo("X (%)", 1.0f);
  ExpectOneWrite("veyrant_x", 1.0f);
  EXPECT_EQ(Shown("X (%)"), "100.0%");
  EXPECT_EQ(plugin_.Cvar("veyrant_x"), "1");

  plugin_.ClearRecords();
  driver_.DragTo("X (%)", 0.0f);
  ExpectOneWrite("veyrant_x", 0.0f);
  EXPECT_EQ(Shown("X (%)"), "0.0%");
  EXPECT_EQ(plugin_.Cvar("veyrant_x"), "0");
}

TEST_F(SettingsPage, DraggedValuesCarryTheDisplayPrecision) {
  driver_.DragToValue("X (%)", 12.5);
  EXPECT_EQ(Shown("X (%)"), "12.5%");
  EXPECT_EQ(plugin_.Cvar("veyrant_x"), "0.125");
  ASSERT_FALSE(PageCalls().empty());
  EXPECT_EQ(PageCalls().back().args, std::vector<devhost::TraceValue>{0.125f});

  // 1.234 lies between pixels; the slider keeps what its format shows, two decimals.
  plugin_.ClearRecords();
  driver_.DragToValue("Scale", 1.234);
  EXPECT_EQ(Shown("Scale"), "1.23x");
  EXPECT_EQ(plugin_.Cvar("veyrant_scale"), "1.23");
  ASSERT_FALSE(PageCalls().empty());
  EXPECT_EQ(PageCalls().back().args, std::vector<devhost::TraceValue>{1.23f});
}

TEST_F(SettingsPage, AFrameWithoutAnEditCallsNothingEvenWhenFieldAndVariableDiffer) {
  // Behind the hooks' back, so the fields keep their defaults.
  plugin_.Host().Store().Find("veyrant_x")->value = "0.5";
  plugin_.Host().Store().Find("veyrant_steer")->value = "0";
  for (const auto& widget : std::vector<devhost::SettingsWidget>(driver_.Widgets()))
    driver_.MoveOnto(widget.label);
  driver_.RunFrame();
  EXPECT_TRUE(PageCalls().empty());
  EXPECT_EQ(Shown("X (%)"), "1.0%");
  EXPECT_TRUE(Ticked("Steer"));
  EXPECT_EQ(plugin_.Cvar("veyrant_x"), "0.5");
  EXPECT_EQ(plugin_.Cvar("veyrant_steer"), "0");
}

TEST_F(SettingsPage, AConsoleChangeShowsOnTheNextFrameWithoutAWriteBack) {
  plugin_.Console("veyrant_scale 5");
  plugin_.Console("veyrant_x 1.5");
  plugin_.ClearRecords();
  driver_.RunFrame();
  EXPECT_EQ(Shown("Scale"), "5.00x");
  EXPECT_EQ(Shown("X (%)"), "150.0%");
  EXPECT_TRUE(PageCalls().empty());
  EXPECT_EQ(plugin_.Cvar("veyrant_x"), "1.5");
}

TEST_F(SettingsPage, ATypedOutOfRangeValueIsStoredAsTyped) {
  driver_.Type("X (%)", "150");
  ExpectOneWrite("veyrant_x", 1.5f);
  EXPECT_EQ(Shown("X (%)"), "150.0%");
  EXPECT_EQ(plugin_.Cvar("veyrant_x"), "1.5");

  plugin_.ClearRecords();
  driver_.Type("Scale", "-2");
  ExpectOneWrite("veyrant_scale", -2.0f);
  EXPECT_EQ(Shown("Scale"), "-2.00x");
}

struct WidgetCase {
  const char* label;
  const char* variable;
  bool slider;  // dragged to its right end; a check box is clicked
  const char* value;
};

class EveryWidget : public SettingsPage, public testing::WithParamInterface<WidgetCase> {};

TEST_P(EveryWidget, WritesItsOwnVariableAndOnlyThatOne) {
  const WidgetCase& c = GetParam();
  std::vector<std::string> expected = Values();
  if (c.slider) {
    driver_.DragTo(c.label, 1.0f);
  } else {
    driver_.Click(c.label);
  }
  for (const auto& call : PageCalls()) {
    if (call.op == "CVarManagerWrapper::getCvar")
      EXPECT_EQ(call.args, std::vector<devhost::TraceValue>{std::string(c.variable)});
    else
      EXPECT_EQ(call.self, std::string("cvar:") + c.variable) << call.op;
  }
  EXPECT_EQ(PageCalls().size(), 2u);
  for (std::size_t i = 0; i < kVariables.size(); ++i)
    if (kVariables[i] == c.variable) expected[i] = c.value;
  EXPECT_EQ(Values(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsPage, EveryWidget,
    testing::Values(WidgetCase{"Show overlay in replays", "veyrant_enabled", false, "0"},
                    WidgetCase{"X (%)", "veyrant_x", true, "1"},
                    WidgetCase{"Y (%)", "veyrant_y", true, "1"},
                    WidgetCase{"Scale", "veyrant_scale", true, "3"},
                    WidgetCase{"Throttle / Brake", "veyrant_throttle", false, "0"},
                    WidgetCase{"Steer", "veyrant_steer", false, "0"},
                    WidgetCase{"Airroll", "veyrant_roll", false, "0"},
                    WidgetCase{"Boost", "veyrant_boost", false, "0"},
                    WidgetCase{"Jump", "veyrant_jump", false, "0"},
                    WidgetCase{"Handbrake", "veyrant_hb", false, "0"},
                    WidgetCase{"Show values on bars", "veyrant_values", false, "1"}));

}  // namespace
