// Reads what a frame shows from its draw data, as a person reads the screen: the lines of text
// (rebuilt from the glyph quads of the host's font), the filled rectangles, and the colours drawn
// where. It needs nothing from whoever drew the frame.
#pragma once

#include <imgui.h>

#include <string>
#include <vector>

namespace devhost {

struct ScreenBox {
  ImVec2 min, max;
  bool Contains(ImVec2 p) const {
    return p.x >= min.x && p.x <= max.x && p.y >= min.y && p.y <= max.y;
  }
  bool Contains(const ScreenBox& b) const { return Contains(b.min) && Contains(b.max); }
  ImVec2 Center() const { return ImVec2((min.x + max.x) / 2, (min.y + max.y) / 2); }
  float Width() const { return max.x - min.x; }
  float Height() const { return max.y - min.y; }
};

// One string drawn in one call: its text, the box from its pen start to its end, its colour.
struct ScreenText {
  std::string text;
  ScreenBox box;
  ImU32 color = 0;
};

struct ScreenRect {
  ScreenBox box;
  ImU32 color = 0;
};

struct Screen {
  std::vector<ScreenText> texts;  // in drawing order
  std::vector<ScreenRect> rects;  // solid axis-aligned rectangles, in drawing order
  std::vector<ImDrawVert> vertices;

  // Whether anything of exactly this colour was drawn inside the box.
  bool ShowsColorIn(const ScreenBox& box, ImU32 color) const;
};

// A glyph run continues across at most this many spaces; wider gaps start a new string, so a
// slider's value and its label on the same line stay apart.
inline constexpr int kMaxSpacesInText = 2;

// font is the one the frame was drawn with; whiteUv is its atlas's white pixel.
Screen ReadScreen(const ImDrawData& data, const ImFont& font, ImVec2 whiteUv);

}  // namespace devhost
