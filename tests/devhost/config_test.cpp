// The saved configuration: both of the console's forms read, every line a person wrote kept in
// place through a run, values the run did not change left as the file has them, and a write-back
// that never loses the file and clears what killed writers left.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/config_file.h"
#include "support/loaded_plugin.h"
#include "support/program_run.h"
#include "support/test_folder.h"

namespace {

const std::string kFixture = VEYRANT_FIXTURE_DIR "/fixture_good" VEYRANT_MODULE_SUFFIX;

// Each line form the console takes, and what the reader makes of the rest, read in the process.
TEST(Config, ReadsTheConsolesFormsAndReportsWhatItCannotRead) {
  const std::string path = veyrant_test::TestFolder().string() + "/forms.cfg";
  const struct {
    const char* line;
    const char* value;  // nullptr: unreadable, with the problem
    const char* problem;
  } forms[] = {
      {"veyrant_y 0.5", "0.5", ""},
      {R"(veyrant_y "0.5")", "0.5", ""},
      {" \tveyrant_y\t 0.5 \r", "0.5", ""},
      {R"(veyrant_y a\"b)", R"(a\"b)", ""},
      {"veyrant_y #5", "#5", ""},
      {R"(veyrant_y "0.5" x)", nullptr, "expected the end of the line after the value"},
      {"veyrant_y", nullptr, "expected a value after veyrant_y"},
      {R"(veyrant_y "0.5)", nullptr, "expected a closing quote after veyrant_y"},
  };
  for (const auto& form : forms) {
    SCOPED_TRACE(form.line);
    std::ofstream(path, std::ios::binary) << form.line << "\n";
    const devhost::ConfigReadResult read = devhost::ReadConfigFile(path);
    ASSERT_EQ(read.lines.size(), 1u);
    EXPECT_EQ(read.lines[0].name, "veyrant_y");
    EXPECT_EQ(read.lines[0].kind, form.value ? devhost::ConfigLine::Kind::Entry
                                             : devhost::ConfigLine::Kind::Unreadable);
    if (form.value) {
      EXPECT_EQ(read.lines[0].value, form.value);
    }
    EXPECT_EQ(read.problems, form.value ? std::vector<std::string>{}
                                        : std::vector<std::string>{path + ":1: " + form.problem});
  }
}

// A hand-edited file after a run that changed one value, beside what killed writers left.
TEST(Config, ARunKeepsEveryLineAPersonWroteAndClearsOnlyWhatKilledWritersLeft) {
  const std::string folder = veyrant_test::TestFolder().string(), path = folder + "/hand.cfg";
  const std::string kept =
      "# tuned by hand\nveyrant_x \"0.3\"\nveyrant_y 0.5\nthis line is garbage\n"
      "veyrant_hb \"0\n\nother_plugin_size big\n";
  std::ofstream(path, std::ios::binary) << kept + "  veyrant_scale 2\n";
  // No process has an id above Linux's largest; this test is a writer still running.
  const std::string leftover = path + ".tmp.99999999";
  const std::string others[] = {path + ".tmp." + std::to_string(getpid()), path + ".tmp.9999999x",
                                path + ".tmp.", path + ".tmp.99999.bak",
                                folder + "/other.cfg.tmp.99999999"};
  for (const auto& file : others) std::ofstream(file, std::ios::binary) << "veyrant_x \"0.";
  std::ofstream(leftover, std::ios::binary) << "veyrant_x \"0.";
  const auto run = veyrant_test::Devhost("--frames 0 --config \"" + path +
                                         "\" --set veyrant_scale=1.5 --exec veyrant_y");
  EXPECT_EQ(std::count(run.lines.begin(), run.lines.end(), R"(veyrant_y "0.5")"), 1);
  // The changed value in place and in its form; no veyrant_hb line over the person's.
  EXPECT_EQ(veyrant_test::ReadFile(path),
            kept +
                "  veyrant_scale 1.5\nveyrant_boost \"1\"\nveyrant_enabled \"1\"\n"
                "veyrant_jump \"1\"\nveyrant_roll \"1\"\nveyrant_steer \"1\"\n"
                "veyrant_throttle \"1\"\nveyrant_values \"0\"\n");
  EXPECT_FALSE(std::filesystem::exists(leftover));
  for (const auto& file : others) EXPECT_TRUE(std::filesystem::exists(file)) << file;
}

TEST(Config, KeepsWhatIsWrittenWhileTheHostRunsAndAFailedWriteOrReadLosesNothing) {
  const std::string path = veyrant_test::TestFolder().string() + "/restore.cfg";
  std::ofstream(path, std::ios::binary) << "fixture_value 4\n";
  veyrant_test::LoadedPlugin plugin(kFixture);
  plugin.Host().RestoreConfig(path);
  // A person edits the file while the host runs: a value the run did not change stays theirs.
  const std::string edited = "# edited\nfixture_value 5\n";
  std::ofstream(path, std::ios::binary) << edited;
  plugin.Host().SaveConfig();
  EXPECT_EQ(veyrant_test::ReadFile(path), edited);
  // A directory where the temporary file would go makes the next write fail before the rename.
  plugin.Console("fixture_value 8");
  const std::string blocker = path + ".tmp." + std::to_string(getpid());
  std::filesystem::create_directory(blocker);
  EXPECT_THROW(plugin.Host().SaveConfig(), std::runtime_error);
  EXPECT_EQ(veyrant_test::ReadFile(path), edited);
  // A directory stands in for a file that cannot be read, even for root: reported, not written.
  const auto problems = plugin.Host().RestoreConfig(blocker);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind(blocker + ": ", 0), 0u) << problems[0];
  EXPECT_NO_THROW(plugin.Host().SaveConfig());
  EXPECT_TRUE(std::filesystem::is_directory(blocker));
}

}  // namespace
