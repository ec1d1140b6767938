// pryndal-devhost's options: what each accepts and how it refuses the rest.
#include "core/command_line.h"

#include <gtest/gtest.h>

namespace {

using devhost::ParseCommandLine;

TEST(CommandLine, ReadsEveryOptionAndKeepsSetAndExecInOrder) {
  const auto c =
      ParseCommandLine({"--plugin", "p.so", "--scene=s.json", "--canvas", "800x600", "--set",
                        "veyrant_x=0.5=a", "--exec", "veyrant_x", "--set", "veyrant_y=", "--time",
                        "2.5", "--frames", "3", "--config", "c.cfg", "--trace", "-"});
  EXPECT_EQ(c.pluginPath, "p.so");
  EXPECT_EQ(c.scenePath, "s.json");
  EXPECT_EQ(c.canvasSize.X, 800);
  EXPECT_EQ(c.canvasSize.Y, 600);
  ASSERT_EQ(c.actions.size(), 3u);
  EXPECT_EQ(c.actions[0].name, "veyrant_x");
  EXPECT_EQ(c.actions[0].text, "0.5=a");
  EXPECT_EQ(c.actions[1].kind, devhost::StartupAction::Kind::Exec);
  EXPECT_EQ(c.actions[1].text, "veyrant_x");
  EXPECT_EQ(c.actions[2].text, "");
  EXPECT_EQ(c.time, 2.5);
  EXPECT_EQ(c.frames, 3);
  EXPECT_EQ(c.configPath, "c.cfg");
  EXPECT_EQ(c.tracePath, "-");
}

TEST(CommandLine, KeepsSettingsActionsInOrder) {
  const auto c = ParseCommandLine({"--click", "Steer", "--drag=X (%)=12.5", "--settings-frames",
                                   "9", "--type", "Scale=1=2", "--type", "Y (%)="});
  using Kind = devhost::SettingsAction::Kind;
  ASSERT_EQ(c.settingsActions.size(), 4u);
  EXPECT_EQ(c.settingsActions[0].kind, Kind::Click);
  EXPECT_EQ(c.settingsActions[0].label, "Steer");
  EXPECT_EQ(c.settingsActions[1].kind, Kind::Drag);
  EXPECT_EQ(c.settingsActions[1].label, "X (%)");
  EXPECT_EQ(c.settingsActions[1].value, 12.5);
  EXPECT_EQ(c.settingsActions[2].kind, Kind::Type);
  EXPECT_EQ(c.settingsActions[2].label, "Scale");
  EXPECT_EQ(c.settingsActions[2].text, "1=2");
  EXPECT_EQ(c.settingsActions[3].text, "");
  EXPECT_EQ(c.settingsFrames, 9);
  EXPECT_FALSE(ParseCommandLine({}).settingsFrames);
}

struct BadArgs {
  std::vector<std::string> args;
  const char* message;
};

class CommandLineRefuses : public testing::TestWithParam<BadArgs> {};

TEST_P(CommandLineRefuses, SayingWhichAndWhy) {
  try {
    ParseCommandLine(GetParam().args);
    FAIL();
  } catch (const devhost::UsageError& e) {
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Args, CommandLineRefuses,
    testing::Values(
        BadArgs{{"--bogus"}, "unknown option: --bogus"},
        BadArgs{{"--frames"}, "--frames: expected N after it"},
        BadArgs{{"--frames", "-1"}, "--frames: expected a whole number of at least 0, got '-1'"},
        BadArgs{{"--frames", "2x"}, "--frames: expected a whole number of at least 0, got '2x'"},
        BadArgs{{"--canvas", "1920"},
                "--canvas: expected WIDTHxHEIGHT, e.g. 1920x1080, got '1920'"},
        BadArgs{{"--canvas", "0x10"}, "--canvas: expected a whole number of at least 1, got '0'"},
        BadArgs{{"--time", "nan"}, "--time: expected a finite number of seconds, got 'nan'"},
        BadArgs{{"--set", "=1"}, "--set: expected NAME=VALUE, got '=1'"},
        BadArgs{{"--set", "veyrant_x"}, "--set: expected NAME=VALUE, got 'veyrant_x'"},
        BadArgs{{"--settings-frames", "-2"},
                "--settings-frames: expected a whole number of at least 0, got '-2'"},
        BadArgs{{"--click", ""}, "--click: expected a widget label, got ''"},
        BadArgs{{"--drag", "X (%)"}, "--drag: expected LABEL=VALUE, got 'X (%)'"},
        BadArgs{{"--drag", "Scale=big"},
                "--drag: expected LABEL=VALUE with a finite number, got 'Scale=big'"},
        BadArgs{{"--type", "=5"}, "--type: expected LABEL=TEXT, got '=5'"},
        BadArgs{{"--help=1"}, "--help: takes no value"}));

}  // namespace
