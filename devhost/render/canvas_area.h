// The pixels a canvas call paints, as the painting canvas paints them: the one rule for drawing a
// box and for telling which call drew a pixel.
#pragma once

#include <cmath>
#include <vector>

#include "host/value_types.h"

namespace devhost {

struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Contains(int px, int py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
};

// FillBox: whole pixels from the position; nothing for a width or height of 0 or less.
inline std::vector<PixelRect> FilledArea(Vector2 at, Vector2 size) {
  if (size.X <= 0 || size.Y <= 0) return {};
  return {{at.X, at.Y, size.X, size.Y}};
}

// DrawBox: four one-pixel strips inside the box that never overlap, so a translucent outline is
// even at its corners.
inline std::vector<PixelRect> OutlineArea(Vector2 at, Vector2 size) {
  std::vector<PixelRect> strips;
  if (size.X <= 0 || size.Y <= 0) return strips;
  const auto add = [&strips](int x, int y, int w, int h) {
    if (w > 0 && h > 0) strips.push_back({x, y, w, h});
  };
  add(at.X, at.Y, size.X, 1);
  if (size.Y > 1) add(at.X, at.Y + size.Y - 1, size.X, 1);
  add(at.X, at.Y + 1, 1, size.Y - 2);
  if (size.X > 1) add(at.X + size.X - 1, at.Y + 1, 1, size.Y - 2);
  return strips;
}

// DrawString: the box GetStringSize measures from the position, which holds every glyph's
// bitmap; a negative side reaches back from the position.
inline PixelRect TextArea(Vector2 at, Vector2F size) {
  const auto span = [](int from, float length, int& start, int& extent) {
    const int whole = static_cast<int>(std::ceil(std::fabs(length)));
    start = length < 0 ? from - whole : from;
    extent = whole;
  };
  PixelRect rect;
  span(at.X, size.X, rect.x, rect.width);
  span(at.Y, size.Y, rect.y, rect.height);
  return rect;
}

}  // namespace devhost
