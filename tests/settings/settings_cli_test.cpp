// pryndal-devhost's settings-page options, run as a user runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

using veyrant_test::Devhost;
using veyrant_test::ProgramRun;

bool HasLine(const ProgramRun& run, const std::string& line) {
  return std::find(run.lines.begin(), run.lines.end(), line) != run.lines.end();
}

std::string Output(const ProgramRun& run) {
  std::string out;
  for (const auto& line : run.lines) out += line + '\n';
  return out;
}

TEST(SettingsCommandLine, AClickOnSteerWritesOnItsFrameAloneAndPrintsTheValues) {
  const ProgramRun run = Devhost("--settings-frames 3 --click Steer --trace -");
  ASSERT_EQ(run.status, 0) << Output(run);
  std::vector<nlohmann::json> settings;
  std::vector<std::string> values;
  for (const std::string& line : run.lines) {
    if (line.rfind("{", 0) == 0) {
      const auto record = nlohmann::json::parse(line);
      if (record["phase"] == "settings") settings.push_back(record);
    } else if (line.rfind("veyrant_", 0) == 0) {
      values.push_back(line);
    }
  }
  ASSERT_EQ(settings.size(), 2u) << Output(run);
  for (const auto& record : settings) EXPECT_EQ(record["frame"], 2) << record;
  EXPECT_EQ(settings[0]["op"], "CVarManagerWrapper::getCvar");
  EXPECT_EQ(settings[0]["args"], nlohmann::json::array({"veyrant_steer"}));
  EXPECT_EQ(settings[1]["op"], "CVarWrapper::setValue");
  EXPECT_EQ(settings[1]["args"], nlohmann::json::array({0}));
  EXPECT_EQ(values,
            (std::vector<std::string>{"veyrant_boost 1", "veyrant_enabled 1", "veyrant_hb 1",
                                      "veyrant_jump 1", "veyrant_roll 1", "veyrant_scale 1.0",
                                      "veyrant_steer 0", "veyrant_throttle 1", "veyrant_values 0",
                                      "veyrant_x 0.01", "veyrant_y 0.02"}));
}

TEST(SettingsCommandLine, DragAndTypeRunInOrder) {
  const ProgramRun run = Devhost(R"(--drag "X (%)=12.5" --type "X (%)=150" --drag "Y (%)=50")");
  ASSERT_EQ(run.status, 0) << Output(run);
  EXPECT_TRUE(HasLine(run, "veyrant_x 1.5")) << Output(run);
  EXPECT_TRUE(HasLine(run, "veyrant_y 0.5")) << Output(run);
}

struct Refusal {
  const char* arguments;
  const char* message;
};

class SettingsCommandLineRefuses : public testing::TestWithParam<Refusal> {};

TEST_P(SettingsCommandLineRefuses, WithExitCodeTwoSayingWhy) {
  const ProgramRun run = Devhost(GetParam().arguments);
  EXPECT_EQ(run.status, 2) << Output(run);
  EXPECT_NE(Output(run).find(GetParam().message), std::string::npos) << Output(run);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsCommandLine, SettingsCommandLineRefuses,
    testing::Values(
        Refusal{"--click Stear",
                "no widget labelled \"Stear\" on the settings page; labels found: \"Show overlay "
                "in replays\", \"X (%)\""},
        Refusal{"--settings-frames 2 --click Steer", "--settings-frames 2: the actions take 3"},
        Refusal{"--drag Steer=1", "\"Steer\" is a check box, not a slider"},
        Refusal{R"(--drag "Scale=4")",
                "\"Scale\": cannot drag to 4, the slider runs from 0.5 to 3"}));

}  // namespace
