// The development host's real canvas: it keeps every call as the recording canvas does and paints
// boxes and text into a Dear ImGui draw list of the host's own context, with the host's font.
// Text is measured by the same glyph walk that draws it, so GetStringSize covers what DrawString
// paints at that scale.
#pragma once

#include "core/recording_canvas.h"

struct ImDrawList;
struct ImFont;

namespace devhost {

class PaintingCanvas : public RecordingCanvas {
 public:
  // The font must outlive the canvas (the host context's atlas).
  PaintingCanvas(Vector2 size, const ImFont& font);

  // Where the following calls paint; nothing is painted while it is null.
  void PaintInto(ImDrawList* target) { target_ = target; }

  void DrawBox(Vector2 size) override;
  void FillBox(Vector2 size) override;
  void DrawString(const std::string& text, float xScale, float yScale) override;
  Vector2F GetStringSize(const std::string& text, float xScale, float yScale) override;

 private:
  const ImFont& font_;
  ImDrawList* target_ = nullptr;
};

}  // namespace devhost
