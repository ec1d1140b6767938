// A real host acted on while it runs: stopped by a signal in each way of running, and two hosts
// saving one configuration at the same moment.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "support/folder_state.h"
#include "support/program_run.h"
#include "support/x_server.h"

namespace {

namespace fs = std::filesystem;
using veyrant_test::Listing;
using veyrant_test::RunningProgram;

// Waits, at most 30 s, for a file whose path from the folder starts with prefix.
bool AppearsIn(const fs::path& folder, const std::string& prefix) {
  for (int tries = 0; tries < 3000; ++tries) {
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (entry.path().lexically_relative(folder).string().starts_with(prefix)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Whether a process still runs whose command line names something in the folder (ffmpeg).
bool ProcessNames(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::string line = veyrant_test::ReadFile(entry.path() / "cmdline");
    std::replace(line.begin(), line.end(), '\0', ' ');
    if (line.find(folder.string()) != std::string::npos) return true;
  }
  return false;
}

struct StopCase {
  const char* name;
  std::string arguments;
  int signal;
  std::string runningOnceExists;  // a path prefix that shows the run is under way
  bool inTmpdir = false;          // in $TMPDIR rather than the folder
  std::string left;               // what stays in the folder beside c.cfg and complete frames
  bool window = false;            // needs an X server
  std::string environment = "";   // for the host
};

const StopCase kStops[] = {
    // A batch run, with a private module copy of a reload in $TMPDIR.
    {"BatchBySigint", "--exec 'plugin reload Veyrant' --frames 100000000 --trace t", SIGINT,
     "pryndal-devhost-", true, ""},
    {"VideoBySigterm", "--canvas 64x64 --frames 100000000 --video out.mp4", SIGTERM, "out.mp4.tmp.",
     false, ""},
    {"PicturesBySighup", "--canvas 64x64 --frames 100000000 --png-dir frames", SIGHUP,
     "frames/frame-00002.png", false, "frames folder\n"},
    // Loaded from a private copy in $TMPDIR; under way once the script's screenshot is written.
    {"WatchedWindowBySigterm", "--window --watch --canvas 320x180 --script script.txt", SIGTERM,
     "shot.png", false, "script.txt file 644\nshot.png file 644\n", true},
    // A plugin that never returns is left 1 s after the signal, under the default limit.
    {"PluginThatNeverReturnsBySigterm",
     "--exec 'plugin load " VEYRANT_FIXTURE_DIR "/fixture_good" VEYRANT_MODULE_SUFFIX
     "' --frames 3 --trace t",
     SIGTERM, "fixture-hangs", false, "fixture-hangs file 644\n", false,
     "VEYRANT_FIXTURE_FAULT=hang@frame"},
};

// Named in failures by the case, not by its bytes.
void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class StoppedHost : public testing::TestWithParam<StopCase> {};

// Ends as quit does: the configuration saved, ffmpeg stopped and every temporary file and private
// copy gone, with exit code 128 plus the signal.
TEST_P(StoppedHost, SavesTheConfigurationAndLeavesNothingBehind) {
  const StopCase& c = GetParam();
  const fs::path folder = veyrant_test::TestFolder();
  std::ofstream(folder / "c.cfg") << "veyrant_x 0.1\n";
  if (c.window) std::ofstream(folder / "script.txt") << "screenshot shot.png\n";
  std::optional<veyrant_test::XServer> server;
  if (c.window) {
    VEYRANT_NEEDS("Xvfb", "xvfb");
  }
  if (c.window && server.emplace().Display().empty()) GTEST_FAIL() << "Xvfb did not start";
  const std::string display = c.window ? "env DISPLAY=" + server->Display() + " " : "";
  RunningProgram host("exec " + display +
                          veyrant_test::DevhostCommand(
                              "--config c.cfg --set veyrant_x=0.3 " + c.arguments, c.environment) +
                          " 2>'" + folder.string() + ".stderr'",
                      folder.string());
  ASSERT_TRUE(AppearsIn(c.inTmpdir ? veyrant_test::TestTmpdir() : folder, c.runningOnceExists));
  host.Signal(c.signal);
  EXPECT_EQ(host.Wait(), 128 + c.signal) << veyrant_test::ReadFile(folder.string() + ".stderr");
  EXPECT_TRUE(veyrant_test::ReadFile(folder / "c.cfg").starts_with("veyrant_x 0.3\n"));
  // Written frames stay; nothing half-written does.
  const std::string listing =
      std::regex_replace(Listing(folder), std::regex("frames/frame-\\d{5}\\.png file 644\n"), "");
  EXPECT_EQ(listing, "c.cfg file 644\n" + c.left);
  EXPECT_EQ(Listing(veyrant_test::TestTmpdir()), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(ProcessNames(folder));
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppedHost, testing::ValuesIn(kStops),
                         [](const auto& param) { return std::string(param.param.name); });

// Two hosts save one configuration at once, one changing veyrant_x and one veyrant_y: both
// changes are kept, round after round.
TEST(ConcurrentSaves, KeepBothChanges) {
  constexpr int kRounds = 200;
  const fs::path folder = veyrant_test::TestFolder();
  int lost = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::ofstream(folder / "c.cfg") << "# round " << round << "\n";
    const std::string value = "r" + std::to_string(round);
    const auto setting = [&](const char* name) {
      return "exec " + veyrant_test::DevhostCommand("--frames 0 --config c.cfg --set " +
                                                    (name + ("=" + value)));
    };
    RunningProgram x(setting("veyrant_x"), folder.string()),
        y(setting("veyrant_y"), folder.string());
    EXPECT_EQ(x.Wait(), 0);
    EXPECT_EQ(y.Wait(), 0);
    const std::string saved = veyrant_test::ReadFile(folder / "c.cfg");
    const bool bothKept = saved.find("veyrant_x \"" + value + "\"") != std::string::npos &&
                          saved.find("veyrant_y \"" + value + "\"") != std::string::npos;
    EXPECT_TRUE(bothKept || lost > 0) << "round " << round << " saved:\n" << saved;
    lost += !bothKept;
  }
  std::cout << "rounds " << kRounds << ", changes lost in " << lost << "\n";
  EXPECT_EQ(lost, 0);
}

}  // namespace
