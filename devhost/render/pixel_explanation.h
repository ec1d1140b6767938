// What made a pixel: its colour as drawn, then every call of the plugin's latest frame that drew
// over it, topmost first, with the call's place in the plugin's sources.
#pragma once

#include <string>
#include <vector>

#include "core/frame_calls.h"
#include "render/image.h"
#include "render/painting_canvas.h"
#include "symbols/symbolizer.h"

namespace devhost {

struct PixelCall {
  const FrameCall* call;
  PixelRect area;  // the part of what the call painted that holds the pixel
};

// The calls of calls that painted the pixel, topmost (latest) first. Text is measured on canvas
// as it was drawn.
std::vector<PixelCall> CallsOverPixel(const FrameCalls& calls, int x, int y,
                                      PaintingCanvas& canvas);

struct PixelExplanation {
  struct Call {
    std::string text;  // "call 48 CanvasWrapper::FillBox [[70,10]] at 87,55 in [...], place"
    PixelRect area;    // what the call painted that holds the pixel
  };
  std::string pixel;        // "pixel 156,60 of frame 0: 220,70,60,255"
  std::vector<Call> calls;  // topmost first

  // The pixel's line, then a line per call, each line indented by two spaces.
  std::string Text() const;
};

// The pixel of the picture, frame (as its reader numbers it), and the calls over it.
PixelExplanation ExplainPixel(const FrameCalls& calls, long long frame, const Image& picture, int x,
                              int y, PaintingCanvas& canvas, Symbolizer& symbols);

}  // namespace devhost
