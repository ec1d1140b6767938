// What the plugin drew, one line per draw call, with the position and colour in effect:
//   "fill 19,21 240x115 12,12,18,220", "box ...", "text 27,26 1.1 150,200,255,255 Ayla".
// Tests compare these lines with the figures the overlay must produce.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "support/kept_records.h"

namespace veyrant_test {

inline std::string Colour(const LinearColor& c) {
  char text[64];
  std::snprintf(text, sizeof text, "%g,%g,%g,%g", static_cast<double>(c.R),
                static_cast<double>(c.G), static_cast<double>(c.B), static_cast<double>(c.A));
  return text;
}

inline std::string DrawLine(const CanvasCall& call) {
  using Kind = CanvasCall::Kind;
  const std::string at = std::to_string(call.position.X) + "," + std::to_string(call.position.Y);
  const std::string size = std::to_string(call.size.X) + "x" + std::to_string(call.size.Y);
  switch (call.kind) {
    case Kind::FillBox:
      return "fill " + at + " " + size + " " + Colour(call.colour);
    case Kind::DrawBox:
      return "box " + at + " " + size + " " + Colour(call.colour);
    case Kind::DrawString: {
      char scale[32];
      std::snprintf(scale, sizeof scale, "%g", static_cast<double>(call.xScale));
      return "text " + at + " " + scale + " " + Colour(call.colour) + " " + call.text;
    }
    default:
      return "";
  }
}

// Draw calls only, in order; SetColor, SetPosition and the size queries leave no line.
inline std::vector<std::string> DrawLines(const std::vector<CanvasCall>& calls) {
  std::vector<std::string> lines;
  for (const auto& call : calls)
    if (std::string line = DrawLine(call); !line.empty()) lines.push_back(line);
  return lines;
}

// The draw calls of one kind ("fill", "box", "text") in order.
inline std::vector<std::string> DrawLines(const std::vector<CanvasCall>& calls,
                                          const std::string& kind) {
  std::vector<std::string> lines;
  for (const std::string& line : DrawLines(calls))
    if (line.rfind(kind + " ", 0) == 0) lines.push_back(line);
  return lines;
}

}  // namespace veyrant_test
