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

// The explanation as lines of text: the pixel of the picture, then a line per call over it.
std::string ExplainPixel(const FrameCalls& calls, const Image& picture, int x, int y,
                         PaintingCanvas& canvas, Symbolizer& symbols);

}  // namespace devhost
