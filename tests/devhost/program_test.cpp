// The pryndal-devhost program as people run it: its trace of the demo and of scenes on disk, and
// its exit codes and messages for bad command lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

using veyrant_test::Devhost;
using veyrant_test::ProgramRun;

std::string Scene(const char* name) { return std::string(VEYRANT_SCENE_DIR) + "/" + name; }

// The top-left corner of each panel: the position in effect at each background fill of that size.
std::vector<std::string> PanelCorners(const ProgramRun& run, const std::string& size) {
  std::vector<std::string> corners;
  std::string position;
  for (const std::string& line : run.lines) {
    const std::size_t args = line.find("\"args\":[");
    if (line.find("CanvasWrapper::SetPosition") != std::string::npos)
      position = line.substr(args + 8, line.find(']', args) - args - 7);
    if (line.find("CanvasWrapper::FillBox") != std::string::npos &&
        line.find("[[" + size + "]]") != std::string::npos)
      corners.push_back(position);
  }
  return corners;
}

TEST(Program, FourCarsAtScaleOnePointOneFollowedAndFree) {
  const ProgramRun followed = Devhost("--scene " + Scene("four-cars-third-followed.json") +
                                      " --set veyrant_scale=1.1 --trace -");
  ASSERT_EQ(followed.status, 0);
  EXPECT_EQ(PanelCorners(followed, "264,122"), std::vector<std::string>{"[19,21]"});
  const ProgramRun free =
      Devhost("--scene " + Scene("four-cars-free.json") + " --set veyrant_scale=1.1 --trace -");
  ASSERT_EQ(free.status, 0);
  EXPECT_EQ(PanelCorners(free, "264,122"),
            (std::vector<std::string>{"[19,21]", "[19,137]", "[19,253]", "[19,369]"}));
}

TEST(Program, DemoTraceStartsWithTheRegistrationsInOrder) {
  const ProgramRun run = Devhost("--trace -");
  ASSERT_EQ(run.status, 0);
  std::vector<std::string> load;
  for (const std::string& line : run.lines)
    if (line.rfind(R"({"phase":"load")", 0) == 0)
      load.push_back(line.substr(0, line.find(",\"self\"")));
  ASSERT_EQ(load.size(), 24u);
  EXPECT_EQ(load[0], R"({"phase":"load","op":"CVarManagerWrapper::registerCvar")");
  EXPECT_EQ(load[1], R"({"phase":"load","op":"CVarWrapper::addOnValueChanged")");
  EXPECT_EQ(load[22], R"({"phase":"load","op":"GameWrapper::RegisterDrawable")");
  EXPECT_EQ(load[23], R"({"phase":"load","op":"CVarManagerWrapper::log")");
}

struct BadRun {
  std::string arguments;
  int status;
  std::string message;  // the error line printed
};

class ProgramRefuses : public testing::TestWithParam<BadRun> {};

TEST_P(ProgramRefuses, SayingWhich) {
  const ProgramRun run = Devhost(GetParam().arguments);
  EXPECT_EQ(run.status, GetParam().status);
  std::string error;
  for (const std::string& line : run.lines)
    if (error.empty() && line.rfind("pryndal-devhost: ", 0) == 0) error = line;
  EXPECT_EQ(error, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ProgramRefuses,
    testing::Values(BadRun{"--frobnicate", 2, "pryndal-devhost: unknown option: --frobnicate"},
                    BadRun{"--scene /nonexistent.json", 1,
                           "pryndal-devhost: /nonexistent.json: cannot read scene file"},
                    BadRun{"--set veyrant_nothing=1", 2,
                           "pryndal-devhost: unknown variable: veyrant_nothing"}));

}  // namespace
