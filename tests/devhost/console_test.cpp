// The console: setting, printing, exec files, loading and unloading, and the errors for bad lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/console_completion.h"
#include "support/loaded_plugin.h"
#include "support/test_folder.h"

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

struct Line {
  std::string line, reply;
  const char* value;  // the variable's text afterwards
};

void ExpectReplies(veyrant_test::LoadedPlugin& plugin, const std::vector<Line>& lines) {
  for (const auto& c : lines) {
    EXPECT_EQ(Reply(plugin, c.line), c.reply) << c.line;
    EXPECT_EQ(plugin.Cvar("fixture_value"), c.value) << c.line;
  }
}

TEST(Console, SetsAndPrintsAValueBareOrQuoted) {
  veyrant_test::LoadedPlugin plugin(kFixture);
  ExpectReplies(plugin, {{"  fixture_value   abc  ", "", "abc"},
                         {R"(fixture_value "a \"b\" \\")", "", R"(a "b" \)"},
                         {"fixture_value", "fixture_value \"a \\\"b\\\" \\\\\"\n", R"(a "b" \)"},
                         {R"(fixture_value "")", "", ""}});
}

TEST(Console, RefusesABadLineSayingWhyAndChangesNothing) {
  veyrant_test::LoadedPlugin plugin(kFixture);
  plugin.Console("fixture_value kept");
  ExpectReplies(
      plugin,
      {{"veyrant_nope 1", "unknown command or variable: veyrant_nope", "kept"},
       {"fixture_value 1 2", "fixture_value: expected one value, got more: 2", "kept"},
       {"fixture_value \"open", "fixture_value: expected a closing quote", "kept"},
       {R"(fixture_value "a\x")", R"(fixture_value: expected \" or \\ after a backslash)", "kept"},
       // The saved configuration could not hold it: one variable a line, no escape for a break.
       {"fixture_value \"a\nb\"", "fixture_value: a value may not hold a line break", "kept"},
       {"plugin",
        "plugin: expected `plugin load PATH`, `plugin unload PLUGIN` or `plugin reload PLUGIN`",
        "kept"},
       {"plugin reload Nobody", "plugin reload: no plugin named Nobody", "kept"},
       {"plugin unload Nobody", "plugin unload: no plugin named Nobody", "kept"},
       {"plugin load /nonexistent.so", "plugin load: /nonexistent.so: file not found", "kept"},
       {"exec", "exec: expected a file name", "kept"},
       {"exec /nonexistent.cfg",
        "exec: /nonexistent.cfg: cannot read the file of console lines: No such file or directory",
        "kept"}});
}

TEST(Console, ExecRunsAFileLineByLineUpToTheFirstFailureAndNeverItselfAgain) {
  veyrant_test::LoadedPlugin plugin(kFixture);
  const auto folder = veyrant_test::TestFolder();
  const std::string good = (folder / "good.cfg").string(), bad = (folder / "bad.cfg").string(),
                    a = (folder / "a.cfg").string(), b = (folder / "b.cfg").string();
  std::ofstream(good) << "# a comment\n\nfixture_value 4\nfixture_value\n";
  std::ofstream(bad) << "fixture_value 6\nbogus 1\nfixture_value 9\n";
  std::ofstream(a) << "exec " << b << "\n";
  std::ofstream(b) << "fixture_value 5\nexec " << a << "\n";
  const std::string runsItself =
      a + ":1: " + b + ":2: exec: " + a + " is already running (a file may not run itself)";
  ExpectReplies(plugin, {{"exec " + good, "fixture_value \"4\"\n", "4"},
                         {"exec " + bad, bad + ":2: unknown command or variable: bogus", "6"},
                         // Twice: the refused run leaves no file marked as running.
                         {"exec " + a, runsItself, "5"},
                         {"exec " + a, runsItself, "5"}});
}

// Run under ASan too: a hook or drawable left behind by the unload would call into freed memory.
TEST(Console, UnloadRemovesThePluginsHookAndDrawableAndKeepsTheVariable) {
  veyrant_test::LoadedPlugin plugin(kFixture);
  plugin.ClearRecords();
  // Every set counts as a change, even to the same text.
  for (const char* line : {"fixture_value 1", "fixture_value 1", "fixture_value 2"})
    plugin.Console(line);
  ExpectReplies(plugin, {{"plugin unload Fixture", "", "2"}, {"fixture_value 3", "", "3"}});
  plugin.Host().RenderFrames(2);
  // The hook ran once for each set while loaded, and nothing else called the plugin.
  EXPECT_EQ(plugin.RecordsIn(devhost::Phase::Hook).size(), 3u);
  EXPECT_EQ(plugin.Records().size(), 3u);
  EXPECT_EQ(Reply(plugin, "plugin load " + kFixture), "loaded Fixture\n");
  EXPECT_EQ(plugin.Cvar("fixture_value"), "3");
  // Only the new plugin's hook runs.
  plugin.ClearRecords();
  plugin.Console("fixture_value 4");
  EXPECT_EQ(plugin.RecordsIn(devhost::Phase::Hook).size(), 1u);
}

// A reload loads the file anew: a new build takes over with the values the store holds; a file the
// loader refuses leaves the running plugin as it was.
TEST(Console, PluginReloadSwitchesToTheNewFileOrRefusesItKeepingTheOldPlugin) {
  const auto folder = veyrant_test::TestFolder();
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
    plugin.Host().RenderFrames(1);
    ASSERT_EQ(plugin.Records().size(), 1u);
    EXPECT_EQ(plugin.Records()[0].args, (std::vector<devhost::TraceValue>{Vector2{7, 0}}));
  }
}

// Tab: what may stand where the word is typed, from the lines help lists.
TEST(Console, CompletesTheWordBeingTypedFromWhatMayStandThere) {
  veyrant_test::LoadedPlugin plugin(kFixture);
  const struct {
    const char* typed;
    const char* line;
    std::vector<std::string> choices;
  } cases[] = {{"fixture_v", "fixture_value ", {}},
               {"  cvarl", "  cvarlist ", {}},
               {"plugin re", "plugin reload ", {}},
               {"plugin unload F", "plugin unload Fixture ", {}},
               {"plugin ", "plugin ", {"load", "reload", "unload"}},
               {"plugin load ", "plugin load ", {}},
               {"fixture_value x", "fixture_value x", {}}};
  for (const auto& c : cases) {
    const devhost::Completion completion = devhost::CompleteLine(plugin.Host(), c.typed);
    EXPECT_EQ(completion.line, c.line) << c.typed;
    EXPECT_EQ(completion.choices, c.choices) << c.typed;
  }
}

// A host that reloads all day keeps only the log's tail.
TEST(Console, TheLogKeepsItsNewestLines) {
  devhost::CvarStore store([](devhost::Cvar&, const std::string&) {});
  for (std::size_t i = 0; i < 2 * devhost::kKeptLogLines; ++i) store.Log(std::to_string(i));
  EXPECT_EQ(store.LogLines().size(), devhost::kKeptLogLines);
  EXPECT_EQ(store.LogLines().back(), std::to_string(2 * devhost::kKeptLogLines - 1));
}

}  // namespace
