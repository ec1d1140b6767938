// The window's inspector (F2): while it is on, a click on the canvas, outside the host's own
// windows, asks what drew that pixel of the frame shown, as --explain says it: in a panel of its
// own, where picking a call outlines what it painted on the canvas, and in the console's log. It
// also writes the frame shown's records, with their places, as a trace file.
#pragma once

#include <optional>
#include <string>

#include "core/frame_calls.h"
#include "core/host.h"
#include "render/painting_canvas.h"
#include "render/pixel_explanation.h"
#include "window/console_log.h"
#include "window/display_window.h"

namespace devhost {

class WindowInspector {
 public:
  WindowInspector(Host& host, ConsoleLog& log);

  // Turns it on or off; whether it is on now.
  bool Toggle();
  // In the host's UI frame: takes a click, draws the panel and the picked call's outline.
  void Draw(Vector2 windowSize);
  // Once the frame is drawn and before it is shown: the pixel clicked, read and explained, of
  // the scene frame shown.
  void Explain(DisplayWindow& window, PaintingCanvas& canvas, long long sceneFrame);
  // Throws ConsoleError naming the file when it cannot be written.
  void WriteTrace(const std::string& path) const;

 private:
  Host& host_;
  ConsoleLog& log_;
  FrameCalls calls_;
  bool on_ = false;
  std::optional<Vector2> clicked_;  // a pixel to explain once the frame is drawn
  std::optional<PixelExplanation> shown_;
  int picked_ = 0;  // the call in the panel's list whose area is outlined
};

}  // namespace devhost
