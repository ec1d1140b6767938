// The saved configuration: restore through the hooks, bad lines reported and skipped, and a
// write-back that never loses the file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/loaded_plugin.h"

namespace {

const std::string kFixture = VEYRANT_FIXTURE_DIR "/fixture_good" VEYRANT_MODULE_SUFFIX;

std::string ReadAll(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

TEST(Config, RestoresThroughTheHooksSkipsBadLinesAndSavesSortedWithoutLosingTheFile) {
  const std::string path = testing::TempDir() + "restore.cfg";
  std::ofstream(path) << "other_plugin_x \"7\"\n# comment\nfixture_value 4\n\"5\"\n"
                         "fixture_value \"6\" extra\nfixture_value \"unterminated\n"
                         "fixture_value \"\\q\"\n\n  fixture_value \"2.5\"\n";
  veyrant_test::LoadedPlugin plugin(kFixture);
  plugin.ClearRecords();
  EXPECT_EQ(plugin.Host().RestoreConfig(path),
            (std::vector<std::string>{
                path + ":3: expected a quoted value after fixture_value",
                path + ":4: expected a variable name before the value",
                path + ":5: expected the end of the line after the value",
                path + ":6: expected a closing quote after fixture_value",
                path + ":7: expected \\\" or \\\\ after a backslash after fixture_value"}));
  const auto hooks = plugin.RecordsIn(devhost::Phase::Hook);
  ASSERT_EQ(hooks.size(), 1u);
  EXPECT_EQ(hooks[0].result, std::optional<devhost::TraceValue>(2.5f));

  plugin.Console(R"(fixture_value "say \"hi\"")");
  plugin.Host().SaveConfig();
  const std::string saved = ReadAll(path);
  EXPECT_EQ(saved, "fixture_value \"say \\\"hi\\\"\"\nother_plugin_x \"7\"\n");
  // A directory where the temporary file would go makes the next write fail before the rename.
  plugin.Console("fixture_value 8");
  const std::string blocker = path + ".tmp." + std::to_string(getpid());
  std::filesystem::create_directory(blocker);
  EXPECT_THROW(plugin.Host().SaveConfig(), std::runtime_error);
  std::filesystem::remove(blocker);
  EXPECT_EQ(ReadAll(path), saved);
}

TEST(Config, AnUnreadableFileIsReportedAndNotWrittenBack) {
  // A directory stands in for an unreadable file, even for root.
  const std::string path = testing::TempDir() + "unreadable_cfg";
  std::filesystem::create_directories(path);
  veyrant_test::LoadedPlugin plugin(kFixture);
  const auto problems = plugin.Host().RestoreConfig(path);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind(path + ": ", 0), 0u) << problems[0];
  EXPECT_NO_THROW(plugin.Host().SaveConfig());
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
