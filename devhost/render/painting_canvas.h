// The development host's real canvas: it keeps every call as the recording canvas does and paints
// boxes and text into a Dear ImGui draw list of the host's own context. Text is set in the host's
// font at its whole pixel height and measured by the same glyph walk that draws it, so
// GetStringSize covers what DrawString paints at that scale (docs/devhost.md, Canvas metrics).
#pragma once

#include <vector>

#include "core/recording_canvas.h"
#include "render/canvas_area.h"
#include "render/canvas_fonts.h"

struct ImDrawList;
struct ImFont;

namespace devhost {

class PaintingCanvas : public RecordingCanvas {
 public:
  explicit PaintingCanvas(Vector2 size);

  // Where the following calls paint; nothing is painted while it is null. Text needs the
  // renderer's OpenGL context current.
  void PaintInto(ImDrawList* target) { target_ = target; }

  void DrawBox(Vector2 size) override;
  void FillBox(Vector2 size) override;
  void DrawString(const std::string& text, float xScale, float yScale) override;
  Vector2F GetStringSize(const std::string& text, float xScale, float yScale) override;

 private:
  // A text's font and the factors from that font's pixels to the canvas.
  struct TextSetting {
    const ImFont* font = nullptr;  // none: the text draws nothing and measures 0 x 0
    float x = 0, y = 0;
  };
  TextSetting Setting(float xScale, float yScale);
  // The area in the current colour.
  void Paint(const std::vector<PixelRect>& area);

  CanvasFonts fonts_;
  ImDrawList* target_ = nullptr;
};

}  // namespace devhost
