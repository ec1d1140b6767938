// A thousand loads, frames, settings pages and unloads of the plugin in one process: after each
// unload the host holds nothing that calls into the module, and each reload starts from the
// defaults whatever the variables kept. Leaks show up under the leak checker of the asan preset.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/host.h"
#include "support/canvas_listing.h"
#include "support/resident_memory.h"
#include "ui/settings_driver.h"

namespace {

constexpr int kCycles = 1000;

// One car standing still: every frame draws the same, so frames of different cycles compare.
constexpr char kStillScene[] = R"({"cars": [{"name": "Ayla", "keys": [
  {"t": 0, "throttle": 0.5, "steer": -0.25, "boost": true}]}]})";

// Whether the module file is still mapped into this process.
bool ModuleMapped() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line))
    if (line.ends_with(VEYRANT_MODULE_PATH)) return true;
  return false;
}

TEST(LoadCycles, EachReloadStartsFreshAndUnloadLeavesNothingToCall) {
  devhost::Host host;
  host.SetScene(devhost::ParseScene(kStillScene, "still scene"));
  host.Canvas().KeepCalls(true);
  devhost::ImGuiSession session(devhost::SettingsWindow::kDisplaySize);
  auto frame = [&host] {
    host.Canvas().ClearCalls();
    host.RenderFrames(1);
    return veyrant_test::DrawLines(host.Canvas().Calls());
  };

  std::vector<std::string> atDefaults, atChanged;
  long kibAtCycle100 = 0;
  for (int cycle = 1; cycle <= kCycles; ++cycle) {
    SCOPED_TRACE("cycle " + std::to_string(cycle));
    devhost::LoadedPlugin& plugin = host.LoadPlugin(VEYRANT_MODULE_PATH);
    ASSERT_NE(plugin.settings, nullptr);
    const auto loaded = frame();
    {
      devhost::SettingsWindow window(session, plugin);
      devhost::SettingsDriver page(window);
      // From cycle 2 the store still holds 2 and 1; the fresh object must not have read them.
      ASSERT_EQ(page.Find("Scale").shown, "1.00x");
      ASSERT_FALSE(page.Find("Show values on bars").checked);
      page.Click("Show values on bars");
    }
    host.Console("veyrant_scale 2");
    const auto changed = frame();
    if (cycle == 1) {
      atDefaults = loaded;
      atChanged = changed;
      ASSERT_NE(atDefaults, atChanged) << "the changes must show in the frame";
    } else {
      ASSERT_EQ(loaded, atDefaults);
      ASSERT_EQ(changed, atChanged);
    }

    host.UnloadPlugin("Veyrant");
    ASSERT_FALSE(ModuleMapped()) << "the module was not closed";
    ASSERT_EQ(host.Store().HookCount(), 0u);
    ASSERT_TRUE(host.Model().Drawables().empty());
    ASSERT_EQ(host.Store().Find("veyrant_scale")->value, "2") << "the host keeps the text";
    ASSERT_EQ(host.Store().Find("veyrant_values")->value, "1");
    // A change and a frame with the module closed: any call into it would crash here.
    host.Console("veyrant_scale 2");
    ASSERT_TRUE(frame().empty());
    if (cycle == 100) kibAtCycle100 = veyrant_test::ResidentKib();
  }
  const long kibAtEnd = veyrant_test::ResidentKib();
  std::printf("load cycles: %d; resident memory %ld KiB at cycle 100, %ld KiB at cycle %d\n",
              kCycles, kibAtCycle100, kibAtEnd, kCycles);
  RecordProperty("rss_kib_cycle_100", std::to_string(kibAtCycle100));
  RecordProperty("rss_kib_end", std::to_string(kibAtEnd));
}

}  // namespace
