// The console: setting, printing, exec files, loading and unloading, and the errors for bad lines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/loaded_plugin.h"

namespace {

const std::string kFixture = VEYRANT_FIXTURE_DIR "/fixture_good" VEYRANT_MODULE_SUFFIX;

// What the console prints for the line, or its error.
std::string Reply(veyrant_test::LoadedPlugin& plugin, const std::string& line) {
  try {
    return plugin.Console(line);
  } catch (const devhost::ConsoleError& e) {
    return e.what();
  }
}

// Run under ASan too: a hook or drawable left behind by the unload would call into freed memory.
TEST(Console, RunsEachLineInTurnOrRefusesItWithAClearMessageAndNoChange) {
  veyrant_test::LoadedPlugin plugin(kFixture);
  plugin.ClearRecords();
  const std::string good = testing::TempDir() + "console_good.cfg";
  const std::string bad = testing::TempDir() + "console_bad.cfg";
  const std::string a = testing::TempDir() + "console_a.cfg";
  const std::string b = testing::TempDir() + "console_b.cfg";
  std::ofstream(good) << "# a comment\n\nfixture_value 4\nfixture_value\n";
  std::ofstream(bad) << "fixture_value 6\nbogus 1\nfixture_value 9\n";
  // Found while writing the console fuzz target: a file running itself overflowed the stack.
  std::ofstream(a) << "exec " << b << "\n";
  std::ofstream(b) << "fixture_value 5\nexec " << a << "\n";
  const std::string runsItself =
      a + ":1: " + b + ":2: exec: " + a + " is already running (a file may not run itself)";
  const struct {
    std::string line, reply;
    const char* value;  // the variable's text afterwards
  } cases[] = {
      {"  fixture_value   abc  ", "", "abc"},
      {R"(fixture_value "a \"b\" \\")", "", R"(a "b" \)"},
      {"fixture_value", "fixture_value \"a \\\"b\\\" \\\\\"\n", R"(a "b" \)"},
      // Every set counts as a change, even to the same text.
      {R"(fixture_value "")", "", ""},
      {R"(fixture_value "")", "", ""},
      {"veyrant_nope 1", "unknown command or variable: veyrant_nope", ""},
      {"fixture_value 1 2", "fixture_value: expected one value, got more: 2", ""},
      {"fixture_value \"open", "fixture_value: expected a closing quote", ""},
      {R"(fixture_value "a\x")", R"(fixture_value: expected \" or \\ after a backslash)", ""},
      // The saved configuration could not hold it: one variable a line, no escape for a break.
      {"fixture_value \"a\nb\"", "fixture_value: a value may not hold a line break", ""},
      {"plugin",
       "plugin: expected `plugin load PATH`, `plugin unload NAME` or `plugin reload NAME`", ""},
      {"plugin reload Nobody", "plugin reload: no plugin named Nobody", ""},
      {"plugin unload Nobody", "plugin unload: no plugin named Nobody", ""},
      {"plugin load /nonexistent.so", "plugin load: /nonexistent.so: file not found", ""},
      {"exec", "exec: expected a file name", ""},
      {"exec /nonexistent.cfg", "exec: cannot read /nonexistent.cfg", ""},
      {"exec " + good, "fixture_value \"4\"\n", "4"},
      {"exec " + bad, bad + ":2: unknown command or variable: bogus", "6"},
      // Twice: the refused run leaves no file marked as running.
      {"exec " + a, runsItself, "5"},
      {"exec " + a, runsItself, "5"},
      // The host removes the plugin's hook and drawable; the variable stays.
      {"plugin unload Fixture", "", "5"},
      {"fixture_value 3", "", "3"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Reply(plugin, c.line), c.reply) << c.line;
    EXPECT_EQ(plugin.Cvar("fixture_value"), c.value) << c.line;
  }
  plugin.RunFrames(2);
  // The hook ran once for each of the eight sets while loaded, and nothing else called the plugin.
  EXPECT_EQ(plugin.RecordsIn(devhost::Phase::Hook).size(), 8u);
  EXPECT_EQ(plugin.Records().size(), 8u);
  EXPECT_EQ(Reply(plugin, "plugin load " + kFixture), "loaded Fixture\n");
  EXPECT_EQ(plugin.Host().Store().HookCount(), 1u);
  EXPECT_EQ(plugin.Cvar("fixture_value"), "3");
}

// A reload loads the file anew: a new build takes over with the values the store holds; a file the
// loader refuses leaves the running plugin as it was.
TEST(Console, PluginReloadSwitchesToTheNewFileOrRefusesItKeepingTheOldPlugin) {
  const auto folder = std::filesystem::path(testing::TempDir()) /
                      ("veyrant_reload_test." + std::to_string(getpid()));
  std::filesystem::remove_all(folder);  // what an earlier process of the same id left
  std::filesystem::create_directories(folder);
  const std::string path = (folder / ("fixture" VEYRANT_MODULE_SUFFIX)).string();
  std::filesystem::copy_file(kFixture, path);
  veyrant_test::LoadedPlugin plugin(path);
  // From now on from a private copy, so the file can go (Windows locks a loaded one).
  plugin.Console("plugin reload Fixture");
  plugin.Console("fixture_value 7");
  // Each message names the file given, not the host's private copy of it.
  const struct {
    std::string replacement;  // a fixture, none, or half of a good one
    std::string reply;        // or, for a refusal, how it starts
    bool half = false;        // a build caught half-written: the system loader would take it
  } cases[] = {
      {"", "plugin reload: " + path + ": file not found"},
      {"fixture_wrong_version",
       "plugin reload: " + path + ": incompatible plugin interface version 94 (expected 95)"},
      {"fixture_no_getplugin", "plugin reload: " + path + ": missing export getPlugin"},
      {"fixture_good", "plugin reload: " + path + ": not a loadable module: ", true},
      {"fixture_good", "reloaded " + path + "\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.replacement);
    std::filesystem::remove(path);
    if (!c.replacement.empty())
      std::filesystem::copy_file(VEYRANT_FIXTURE_DIR "/" + c.replacement + VEYRANT_MODULE_SUFFIX,
                                 path);
    if (c.half) std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    EXPECT_EQ(Reply(plugin, "plugin reload Fixture").substr(0, c.reply.size()), c.reply);
    // Still drawing, and with the value: a new plugin object starts from 0 until it is told.
    plugin.ClearRecords();
    plugin.RunFrames(1);
    ASSERT_EQ(plugin.Records().size(), 1u);
    EXPECT_EQ(plugin.Records()[0].args, (std::vector<devhost::TraceValue>{Vector2{7, 0}}));
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
