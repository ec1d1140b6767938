// The demo scene played over and over for many frames, the settings changed from the console every
// few frames and the settings page drawn now and then. VEYRANT_SOAK_FRAMES shortens the run (CI).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "core/host.h"
#include "support/resident_memory.h"
#include "ui/settings_window.h"

namespace {

std::int64_t Frames() {
  const char* text = std::getenv("VEYRANT_SOAK_FRAMES");
  return text != nullptr ? std::atoll(text) : 100000;
}

// What people type, odd values included; every one leaves the overlay drawing something.
constexpr const char* kChanges[] = {
    "veyrant_scale 2",    "veyrant_x 0.5",        "veyrant_values 1", "veyrant_hb 0",
    "veyrant_scale 0.5",  "veyrant_y 0.9",        "veyrant_steer 0",  "veyrant_x nan",
    "veyrant_scale 1e39", "veyrant_roll 0",       "veyrant_x -3",     "veyrant_scale \"\"",
    "veyrant_boost 0",    "veyrant_throttle abc", "veyrant_jump 0",   "veyrant_y inf",
    "veyrant_values 0",   "veyrant_hb 1",         "veyrant_steer 1",  "veyrant_roll 1",
    "veyrant_boost 1",    "veyrant_throttle 1",   "veyrant_jump 1",   "veyrant_x 0.01",
    "veyrant_y 0.02",     "veyrant_scale 1",
};
constexpr std::int64_t kFramesPerChange = 5;
constexpr std::int64_t kFramesPerSettingsFrame = 50;

TEST(Soak, DemoSceneWithSettingsChangingEveryFewFrames) {
  const std::int64_t frames = Frames();
  devhost::Host host;
  devhost::LoadedPlugin& plugin = host.LoadPlugin(VEYRANT_MODULE_PATH);
  devhost::ImGuiSession session(devhost::SettingsWindow::kDisplaySize);
  devhost::SettingsWindow settingsPage(session, plugin);
  const std::int64_t sceneFrames =
      static_cast<std::int64_t>(host.CurrentScene().duration * host.CurrentScene().fps);
  long kibAfterFirstPass = 0;  // after the first pass through the scene, once allocations settle
  std::size_t change = 0;
  for (std::int64_t frame = 0; frame < frames; ++frame) {
    if (frame == sceneFrames) kibAfterFirstPass = veyrant_test::ResidentKib();
    // Back to the scene's start once it has played through.
    if (frame % sceneFrames == 0)
      host.SetStartTime(-static_cast<double>(frame) / host.CurrentScene().fps);
    if (frame % kFramesPerChange == 0) host.Console(kChanges[change++ % std::size(kChanges)]);
    if (frame % kFramesPerSettingsFrame == 0) settingsPage.RunFrame();
    host.RenderFrames(1);
  }
  const long kibAtEnd = veyrant_test::ResidentKib();
  EXPECT_EQ(host.FramesRendered(), frames);
  // Every change in the table leaves the overlay drawing.
  host.Canvas().KeepCalls(true);
  host.RenderFrames(1);
  EXPECT_FALSE(host.Canvas().Calls().empty());
  EXPECT_EQ(host.Store().LogLines().size(), 1u) << "the plugin logged during the run";
  std::printf(
      "soak: %lld frames, %zu settings changes; resident memory %ld KiB after the first pass, "
      "%ld KiB at the end\n",
      static_cast<long long>(frames), change, kibAfterFirstPass, kibAtEnd);
  RecordProperty("frames", std::to_string(frames));
  RecordProperty("rss_kib_first_pass", std::to_string(kibAfterFirstPass));
  RecordProperty("rss_kib_end", std::to_string(kibAtEnd));
}

}  // namespace
