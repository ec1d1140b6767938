// The settings page worked through the development host like a person: the host's own window, real
// mouse and key input on the widgets' drawn positions, and what reached the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/loaded_plugin.h"
#include "ui/screen_reader.h"
#include "ui/settings_driver.h"

namespace {

using devhost::Phase;
using devhost::TraceRecord;

// The plugin's eleven console variables, in the order onLoad registers them, each with the page's
// widget that edits it.
struct SettingsVariable {
  const char* name;
  const char* widget;   // the page's label for it
  const char* edited;   // its value after a click, or a drag to the right end
  const char* leftEnd;  // a slider's value at its left end; nullptr for a check box
};

constexpr SettingsVariable kSettingsVariables[] = {
    {"veyrant_x", "X (%)", "1", "0"},
    {"veyrant_y", "Y (%)", "1", "0"},
    {"veyrant_scale", "Scale", "3", "0.5"},
    {"veyrant_enabled", "Show overlay in replays", "0", nullptr},
    {"veyrant_throttle", "Throttle / Brake", "0", nullptr},
    {"veyrant_steer", "Steer", "0", nullptr},
    {"veyrant_roll", "Airroll", "0", nullptr},
    {"veyrant_boost", "Boost", "0", nullptr},
    {"veyrant_jump", "Jump", "0", nullptr},
    {"veyrant_hb", "Handbrake", "0", nullptr},
    {"veyrant_values", "Show values on bars", "1", nullptr},
};

class SettingsPage : public testing::Test {
 protected:
  SettingsPage()
      : ui_(devhost::SettingsWindow::kDisplaySize),
        window_(ui_, *plugin_.Host().Plugins().front()),
        driver_(window_) {
    driver_.RunFrame();
    plugin_.ClearRecords();
  }

  std::vector<TraceRecord> PageCalls() { return plugin_.RecordsIn(Phase::Settings); }
  std::vector<std::string> Values() {
    std::vector<std::string> out;
    for (const auto& variable : kSettingsVariables) out.push_back(plugin_.Cvar(variable.name));
    return out;
  }
  std::string Shown(const std::string& label) { return driver_.Find(label).shown; }
  // The texts a frame of the page shows, read off its draw lists.
  std::vector<std::string> Texts() {
    const ImDrawData* data = window_.RunFrame();
    const ImGuiIO& io = window_.Ui().Input();
    std::vector<std::string> texts;
    for (const auto& text :
         devhost::ReadScreen(*data, *io.Fonts->Fonts[0], io.Fonts->TexUvWhitePixel).texts)
      texts.push_back(text.text);
    return texts;
  }
  // The mouse as a person moves it, one UI frame a step.
  void MoveTo(ImVec2 at) {
    window_.Ui().Input().MousePos = at;
    driver_.RunFrame();
  }
  void Button(bool down) {
    window_.Ui().Input().MouseDown[0] = down;
    driver_.RunFrame();
  }
  // Grabs the slider and lets go past its left or right end, where it stops at its bound.
  void DragPastEnd(const std::string& label, bool right) {
    const devhost::SettingsWidget slider = driver_.Find(label);
    ASSERT_TRUE(slider.grab) << label;
    const float y = slider.frame.Center().y;
    MoveTo(ImVec2(slider.grab->Center().x, y));
    Button(true);
    MoveTo(ImVec2(right ? slider.frame.max.x + 40 : slider.frame.min.x - 40, y));
    Button(false);
  }
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
  devhost::HostUiContext ui_;
  devhost::SettingsWindow window_;
  devhost::SettingsDriver driver_;
};

TEST_F(SettingsPage, ShowsTheDefaults) {
  std::vector<std::string> labels;
  for (const auto& widget : driver_.Widgets()) labels.push_back(widget.label);
  const std::vector<std::string> texts = Texts();
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

// The page shows the fields, which only the hooks feed, and writes only on an edit.
TEST_F(SettingsPage, ShowsTheHooksValuesAndWritesNothingWithoutAnEdit) {
  plugin_.Console("veyrant_scale 5");
  plugin_.Host().Store().Find("veyrant_steer")->value = "0";  // behind the hook's back
  plugin_.ClearRecords();
  for (const auto& widget : std::vector<devhost::SettingsWidget>(driver_.Widgets()))
    MoveTo(widget.frame.Center());
  driver_.RunFrame();
  EXPECT_TRUE(PageCalls().empty());
  EXPECT_EQ(Shown("Scale"), "5.00x");
  EXPECT_TRUE(Ticked("Steer"));
  EXPECT_EQ(plugin_.Cvar("veyrant_steer"), "0");
}

class EveryWidget : public SettingsPage, public testing::WithParamInterface<SettingsVariable> {};

TEST_P(EveryWidget, WritesItsOwnVariableAndOnlyThatOne) {
  const SettingsVariable& c = GetParam();
  const auto index =
      std::find_if(std::begin(kSettingsVariables), std::end(kSettingsVariables),
                   [&c](const SettingsVariable& v) { return std::string(v.name) == c.name; }) -
      std::begin(kSettingsVariables);
  std::vector<std::string> expected = Values();
  std::vector<std::pair<bool, const char*>> steps{{true, c.edited}};
  if (c.leftEnd != nullptr) steps.insert(steps.begin(), {false, c.leftEnd});
  for (const auto& [right, value] : steps) {
    plugin_.ClearRecords();
    // Check boxes write whole numbers, sliders floats.
    if (c.leftEnd != nullptr) {
      DragPastEnd(c.widget, right);
      ExpectOneWrite(c.name, std::stof(value));
    } else {
      driver_.Click(c.widget);
      ExpectOneWrite(c.name, std::int64_t{std::stoi(value)});
    }
    expected[static_cast<std::size_t>(index)] = value;
    EXPECT_EQ(Values(), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(SettingsPage, EveryWidget, testing::ValuesIn(kSettingsVariables),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
