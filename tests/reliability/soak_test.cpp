// The demo scene played over and over for many frames (VEYRANT_SOAK_FRAMES, 100,000), the settings
// changed from the console every 5 frames and the settings page drawn every 50.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "core/host.h"
#include "support/kept_records.h"
#include "support/resident_memory.h"
#include "ui/settings_window.h"

namespace {

// What people type, odd values included; the table ends back at the defaults.
constexpr const char* kChanges[] = {
    "veyrant_scale 2",    "veyrant_x 0.5",        "veyrant_values 1", "veyrant_hb 0",
    "veyrant_scale 0.5",  "veyrant_y 0.9",        "veyrant_steer 0",  "veyrant_x nan",
    "veyrant_scale 1e39", "veyrant_roll 0",       "veyrant_x -3",     "veyrant_scale \"\"",
    "veyrant_boost 0",    "veyrant_throttle abc", "veyrant_jump 0",   "veyrant_y inf",
    "veyrant_values 0",   "veyrant_hb 1",         "veyrant_steer 1",  "veyrant_roll 1",
    "veyrant_boost 1",    "veyrant_throttle 1",   "veyrant_jump 1",   "veyrant_x 0.01",
    "veyrant_y 0.02",     "veyrant_scale 1",
};

TEST(Soak, DemoSceneWithSettingsChangingEveryFewFrames) {
  const char* text = std::getenv("VEYRANT_SOAK_FRAMES");
  const long frames = text != nullptr ? std::atol(text) : 100000;
  devhost::Host host;
  devhost::HostUiContext ui(devhost::SettingsWindow::kDisplaySize);
  devhost::SettingsWindow settingsPage(ui, host.LoadPlugin(VEYRANT_MODULE_PATH));
  const double fps = host.CurrentScene().fps, sceneFrames = host.CurrentScene().duration * fps;
  long kibAfterFirstPass = 0;  // once allocations settle
  for (long frame = 0; frame < frames; ++frame) {
    if (frame == static_cast<long>(sceneFrames)) kibAfterFirstPass = veyrant_test::ResidentKib();
    if (frame % 5 == 0) host.Console(kChanges[(frame / 5) % std::ssize(kChanges)]);
    if (frame % 50 == 0) settingsPage.RunFrame();
    host.RenderFrameAt(std::fmod(static_cast<double>(frame), sceneFrames) / fps, host.Canvas());
  }
  const veyrant_test::KeptRecords kept(host.Trace());
  host.RenderFrames(1);
  EXPECT_FALSE(kept.CanvasCalls().empty()) << "the overlay no longer draws";
  EXPECT_EQ(host.Store().LogLines().size(), 1u) << "the plugin logged beyond its load line";
  std::printf(
      "soak: %ld frames; resident memory %ld KiB after the first pass, %ld KiB at the end\n",
      frames, kibAfterFirstPass, veyrant_test::ResidentKib());
}

}  // namespace
