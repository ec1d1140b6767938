// The plugin loaded, reloaded and unloaded a thousand times in one process, and the saved
// configuration written by a host that is killed over and over while saving. Leaks show up under
// the leak checker of the asan preset.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "core/config_file.h"
#include "core/host.h"
#include "support/canvas_listing.h"
#include "support/resident_memory.h"
#include "support/test_folder.h"
#include "ui/settings_driver.h"

namespace {

// After each unload nothing calls into the closed module, and each load starts from the defaults
// whatever the variables kept; a reload starts from the values they kept.
TEST(LoadCycles, EachLoadStartsFreshEachReloadAsLeftAndUnloadLeavesNothingToCall) {
  devhost::Host host;
  veyrant_test::KeptRecords kept(host.Trace());
  devhost::HostUiContext ui(devhost::SettingsWindow::kDisplaySize);
  // Always the demo's first moment, so frames of different cycles compare.
  const auto frame = [&host, &kept] {
    kept.Clear();
    host.RenderFrameAt(0, host.Canvas());
    return veyrant_test::DrawLines(kept.CanvasCalls());
  };
  decltype(frame()) atDefaults, changed;
  long kibAtCycle100 = 0;
  for (int cycle = 1; cycle <= 1000; ++cycle) {
    SCOPED_TRACE("cycle " + std::to_string(cycle));
    devhost::LoadedPlugin& plugin = host.LoadPlugin(VEYRANT_MODULE_PATH);
    const auto loaded = frame();
    if (cycle == 1) atDefaults = loaded;
    // From cycle 2 the store holds 2 and 1 from the start: the fresh object must not read them.
    ASSERT_EQ(loaded, atDefaults);
    {
      devhost::SettingsWindow window(ui, plugin);
      devhost::SettingsDriver(window).Click("Show values on bars");
    }
    host.Console("veyrant_scale 2");
    const auto after = frame();
    if (cycle == 1) changed = after;
    ASSERT_NE(after, loaded) << "the changes must show in the frame";
    ASSERT_EQ(after, changed);
    // A reload in place: the old module closed, the new object told the values the store holds.
    host.Console("plugin reload Veyrant");
    ASSERT_EQ(dlopen(VEYRANT_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the old is open";
    ASSERT_EQ(frame(), changed);
    const std::string copy = host.Plugins().front()->modulePath;
    host.UnloadPlugin("Veyrant");
    ASSERT_EQ(dlopen(copy.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "it is still open";
    ASSERT_EQ(host.Store().Find("veyrant_scale")->value, "2") << "the host keeps the text";
    // A change and a frame with the module closed: a hook or drawable left behind would crash.
    host.Console("veyrant_scale 2");
    ASSERT_TRUE(frame().empty());
    if (cycle == 100) kibAtCycle100 = veyrant_test::ResidentKib();
  }
  std::printf("load cycles: 1000; resident memory %ld KiB at cycle 100, %ld KiB at the end\n",
              kibAtCycle100, veyrant_test::ResidentKib());
}

// A copy of the host, forked with the plugin loaded, saves over and over and is killed at a random
// moment (VEYRANT_KILL_ITERATIONS times, 200); after every kill the file holds the last generation
// or a later one, whole.
TEST(SavedConfiguration, SurvivesTheHostBeingKilledWhileWriting) {
  // With the temporary files kills leave behind.
  const std::filesystem::path folder = veyrant_test::TestFolder();
  const std::string path = (folder / "veyrant.cfg").string();
  devhost::Host host;
  host.LoadPlugin(VEYRANT_MODULE_PATH);
  host.RestoreConfig(path);
  // Save g writes g and g % 4096 letters, so a torn or mixed file shows.
  const auto save = [&host](long g) {
    host.SetVariable("veyrant_x", std::to_string(g));
    host.SetVariable("veyrant_values", std::string(std::size_t(g % 4096), 'v'));
    host.SaveConfig();
  };
  save(0);
  const char* iterations = std::getenv("VEYRANT_KILL_ITERATIONS");
  const int kills = iterations != nullptr ? std::atoi(iterations) : 200;
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  long generation = 0;
  for (int i = 0; i < kills; ++i) {
    SCOPED_TRACE("kill " + std::to_string(i) + ", seed " + std::to_string(seed));
    const pid_t writer = fork();
    if (writer == 0)
      for (long g = generation + 1;; ++g) save(g);
    ASSERT_GT(writer, 0);
    usleep(static_cast<useconds_t>(random() % 20000));
    ASSERT_EQ(kill(writer, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
    const devhost::ConfigReadResult read = devhost::ReadConfigFile(path);
    ASSERT_TRUE(read.readable && read.problems.empty()) << path << " cannot be read whole";
    std::map<std::string, std::string> values;
    for (const auto& line : read.lines) values[line.name] = line.value;
    ASSERT_EQ(values.size(), 11u) << "the file lost a variable";
    const long now = std::stol(values["veyrant_x"]);
    ASSERT_EQ(values["veyrant_values"], std::string(std::size_t(now % 4096), 'v'));
    ASSERT_GE(now, generation) << "the file went back to an older generation";
    generation = now;
  }
  // The next save clears the temporary files the killed writers left.
  host.SaveConfig();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  std::printf("kills: %d, last generation %ld\n", kills, generation);
  std::filesystem::remove_all(folder);
}

}  // namespace
