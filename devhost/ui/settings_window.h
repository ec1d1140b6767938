// One UI frame of a plugin's settings page, as the host runs it: the host opens a window of its
// own, titled with the plugin's page name, at a fixed place and size so that widget positions
// repeat from run to run (or, in the host's window, where a person may move and size it), hands
// the plugin its context and asks for the page. Output-free, so a renderer can draw the same
// frames that a driver works.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "core/loader.h"
#include "system/host_errors.h"
#include "ui/host_ui_context.h"

struct ImDrawData;

namespace devhost {

// Where the host window sits. A movable one starts there and then stays where the person drags and
// sizes it, for as long as the UI context lasts.
struct SettingsPlacement {
  Vector2 position;
  Vector2 size;
  bool movable = false;
};

class SettingsWindow {
 public:
  // Where the host window sits for pictures and the driver; a UI context of kDisplaySize shows all
  // of it. 637 wide: widgets get 0.65 of it, 414 px, so a slider's grab travels 400 px and each
  // pixel is a round step.
  static constexpr Vector2 kPosition{20, 20};
  static constexpr Vector2 kSize{637, 440};
  static constexpr Vector2 kDisplaySize{680, 480};

  // Throws SettingsPageError if the plugin has no settings page, or has faulted.
  SettingsWindow(HostUiContext& ui, LoadedPlugin& plugin,
                 SettingsPlacement placement = {kPosition, kSize});

  // Begins a UI frame, draws the window with the page in it and ends the frame. Host calls made
  // meanwhile are traced in phase settings with the UI frame's index. The draw data stays valid
  // until the next frame.
  ImDrawData* RunFrame();
  // The window alone, into the UI frame the context has begun: for a renderer that draws it over
  // a frame of its own. Traced as the same UI frame. Throws SettingsPageError once the plugin has
  // faulted; a page that faults while it draws leaves the window ended all the same.
  void Draw();
  // The index the next UI frame gets: frames run so far, from 0.
  std::int64_t NextFrame() const { return ui_.FramesBegun(); }
  HostUiContext& Ui() { return ui_; }

 private:
  void RequireNotFaulted() const;

  HostUiContext& ui_;
  LoadedPlugin& plugin_;
  SettingsPlacement placement_;
};

}  // namespace devhost
