// The loader's refusals, and unloading: the host removes what the plugin registered.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/host.h"
#include "support/loaded_plugin.h"

namespace {

std::string Fixture(const char* name) {
  return std::string(VEYRANT_FIXTURE_DIR) + "/" + name + VEYRANT_MODULE_SUFFIX;
}

struct BadModule {
  std::string path;
  std::string expected;  // the whole message after "PATH: "
};

class LoaderRefuses : public testing::TestWithParam<BadModule> {};

TEST_P(LoaderRefuses, WithItsOwnMessageAndNoPluginCall) {
  devhost::Host host;
  host.Trace().KeepRecords(true);
  const BadModule& bad = GetParam();
  try {
    host.LoadPlugin(bad.path);
    FAIL() << "loaded " << bad.path;
  } catch (const devhost::LoadError& e) {
    EXPECT_EQ(std::string(e.what()), bad.path + ": " + bad.expected);
  }
  EXPECT_TRUE(host.Plugins().empty());
  EXPECT_TRUE(host.Trace().Records().empty());
  EXPECT_EQ(host.Store().All().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, LoaderRefuses,
    testing::Values(BadModule{"/nonexistent/Veyrant.so", "file not found"},
                    BadModule{Fixture("fixture_wrong_version"),
                              "incompatible plugin interface version 94 (expected 95)"},
                    BadModule{Fixture("fixture_no_exports"), "missing export exports"},
                    BadModule{Fixture("fixture_no_getplugin"), "missing export getPlugin"},
                    BadModule{Fixture("fixture_no_deleteme"), "missing export deleteMe"}));

TEST(Loader, RefusesAFileThatIsNoModule) {
  const std::string path = testing::TempDir() + "not_a_module.so";
  std::ofstream(path) << "just text\n";
  devhost::Host host;
  try {
    host.LoadPlugin(path);
    FAIL();
  } catch (const devhost::LoadError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(path + ": not a loadable module: ", 0), 0u) << e.what();
  }
}

TEST(Loader, LoadsAndCallsOnLoadWithTheHostsHandles) {
  veyrant_test::LoadedPlugin plugin(Fixture("fixture_good"));
  ASSERT_EQ(plugin.Host().Plugins().size(), 1u);
  EXPECT_EQ(plugin.Host().Plugins()[0]->name, "Fixture");
  EXPECT_EQ(plugin.Host().Plugins()[0]->settings, nullptr);
  EXPECT_EQ(plugin.Ops(), (std::vector<std::string>{
                              "CVarManagerWrapper::registerCvar", "CVarWrapper::addOnValueChanged",
                              "GameWrapper::RegisterDrawable", "CVarManagerWrapper::log"}));
  for (const auto& r : plugin.Records()) EXPECT_EQ(r.phase, devhost::Phase::Load) << r.op;
  EXPECT_EQ(plugin.Host().Store().LogLines(), std::vector<std::string>{"fixture loaded"});
}

TEST(Loader, FindsTheSettingsPageOfTheRealModule) {
  veyrant_test::LoadedPlugin plugin;
  ASSERT_EQ(plugin.Host().Plugins().size(), 1u);
  EXPECT_NE(plugin.Host().Plugins()[0]->settings, nullptr);
}

// Run under ASan too: a hook or drawable left behind would call into freed memory.
TEST(Unload, RemovesHooksAndDrawablesSoLaterChangesCallNothing) {
  for (const std::string& module : {Fixture("fixture_good"), std::string(VEYRANT_MODULE_PATH)}) {
    veyrant_test::LoadedPlugin plugin(module);
    const std::string name = plugin.Host().Plugins()[0]->name;
    const std::string variable = plugin.Host().Store().All().front()->name;
    plugin.Set(variable, "2");
    ASSERT_FALSE(plugin.RecordsIn(devhost::Phase::Hook).empty()) << module;

    plugin.Host().UnloadPlugin(name);
    EXPECT_EQ(plugin.Host().Store().HookCount(), 0u);
    EXPECT_TRUE(plugin.Host().Model().Drawables().empty());
    plugin.ClearRecords();
    plugin.Set(variable, "3");
    plugin.RunFrames(2);
    EXPECT_TRUE(plugin.Records().empty()) << module;
    // The variable and its value outlive the plugin, as the store's own.
    EXPECT_EQ(plugin.Cvar(variable), "3");
  }
}

TEST(Unload, ThenLoadAgainGivesAFreshObjectOnTheKeptVariables) {
  veyrant_test::LoadedPlugin plugin(Fixture("fixture_good"));
  plugin.Console("fixture_value 5");
  plugin.Console("plugin unload Fixture");
  EXPECT_TRUE(plugin.Host().Plugins().empty());
  plugin.Console("plugin load " + Fixture("fixture_good"));
  ASSERT_EQ(plugin.Host().Plugins().size(), 1u);
  EXPECT_EQ(plugin.Host().Store().HookCount(), 1u);
  EXPECT_EQ(plugin.Cvar("fixture_value"), "5");
}

}  // namespace
