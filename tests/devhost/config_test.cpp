// The saved configuration: restore through the hooks, bad lines reported and skipped, and a
// write-back that never loses the file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/loaded_plugin.h"

namespace {

std::string Fixture() {
  return std::string(VEYRANT_FIXTURE_DIR) + "/fixture_good" VEYRANT_MODULE_SUFFIX;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string WriteTemp(const std::string& name, const std::string& contents) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path) << contents;
  return path;
}

TEST(Config, RestoresThroughTheHooksAndKeepsOtherPluginsValues) {
  const std::string path =
      WriteTemp("restore.cfg", "other_plugin_x \"7\"\nfixture_value \"2.5\"\n");
  veyrant_test::LoadedPlugin plugin(Fixture());
  plugin.ClearRecords();
  EXPECT_TRUE(plugin.Host().RestoreConfig(path).empty());
  EXPECT_EQ(plugin.Cvar("fixture_value"), "2.5");
  ASSERT_EQ(plugin.RecordsIn(devhost::Phase::Hook).size(), 1u);
  EXPECT_EQ(plugin.RecordsIn(devhost::Phase::Hook)[0].result,
            std::optional<devhost::TraceValue>(2.5f));

  plugin.Console("fixture_value \"say \\\"hi\\\"\"");
  plugin.Host().SaveConfig();
  EXPECT_EQ(ReadAll(path), "fixture_value \"say \\\"hi\\\"\"\nother_plugin_x \"7\"\n");
}

TEST(Config, ReportsEachBadLineAndRestoresTheGoodOnes) {
  const std::string path = WriteTemp("corrupt.cfg",
                                     "fixture_value \"3\"\n"
                                     "fixture_value 4\n"
                                     "\"5\"\n"
                                     "fixture_value \"6\" extra\n"
                                     "fixture_value \"unterminated\n"
                                     "# comment\n"
                                     "fixture_value \"\\q\"\n");
  veyrant_test::LoadedPlugin plugin(Fixture());
  const auto problems = plugin.Host().RestoreConfig(path);
  EXPECT_EQ(problems,
            (std::vector<std::string>{
                path + ":2: expected a quoted value after fixture_value",
                path + ":3: expected a variable name before the value",
                path + ":4: expected the end of the line after the value",
                path + ":5: expected a closing quote after fixture_value",
                path + ":7: expected \\\" or \\\\ after a backslash after fixture_value"}));
  EXPECT_EQ(plugin.Cvar("fixture_value"), "3");
}

TEST(Config, AnUnreadableFileIsReportedSkippedAndNotWrittenBack) {
  // A directory stands in for an unreadable file, even for root.
  const std::string path = testing::TempDir() + "unreadable_cfg";
  std::filesystem::create_directories(path);
  veyrant_test::LoadedPlugin plugin(Fixture());
  const auto problems = plugin.Host().RestoreConfig(path);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind(path + ": ", 0), 0u) << problems[0];
  EXPECT_EQ(plugin.Cvar("fixture_value"), "0");
  EXPECT_NO_THROW(plugin.Host().SaveConfig());
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(Config, AFailedWriteLeavesTheOriginalFile) {
  const std::string dir = testing::TempDir() + "config_dir_gone/";
  std::filesystem::create_directories(dir);
  const std::string path = dir + "saved.cfg";
  std::ofstream(path) << "fixture_value \"3\"\n";
  veyrant_test::LoadedPlugin plugin(Fixture());
  plugin.Host().RestoreConfig(path);
  plugin.Console("fixture_value 8");
  // A directory where the temporary file would go makes the write fail before the rename.
  const std::string blocker = path + ".tmp." + std::to_string(getpid());
  std::filesystem::create_directory(blocker);
  EXPECT_THROW(plugin.Host().SaveConfig(), std::runtime_error);
  std::filesystem::remove(blocker);
  EXPECT_EQ(ReadAll(path), "fixture_value \"3\"\n");
  plugin.Host().SaveConfig();
  EXPECT_EQ(ReadAll(path), "fixture_value \"8\"\n");
}

}  // namespace
