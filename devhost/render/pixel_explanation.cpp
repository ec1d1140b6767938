#include "render/pixel_explanation.h"

#include <variant>

#include "core/trace_json.h"

namespace devhost {

namespace {

// What the call painted; nothing for a call that paints nothing.
std::vector<PixelRect> PaintedBy(const FrameCalls& calls, const FrameCall& call,
                                 PaintingCanvas& canvas) {
  const TraceRecord& r = calls.RecordOf(call);
  if (r.op == "CanvasWrapper::FillBox")
    return FilledArea(call.position, std::get<Vector2>(r.args[0]));
  if (r.op == "CanvasWrapper::DrawBox")
    return OutlineArea(call.position, std::get<Vector2>(r.args[0]));
  if (r.op == "CanvasWrapper::DrawString") {
    const float xScale = std::get<float>(r.args[1]), yScale = std::get<float>(r.args[2]);
    return {TextArea(call.position,
                     canvas.GetStringSize(std::get<std::string>(r.args[0]), xScale, yScale))};
  }
  return {};
}

std::string PositionText(Vector2 at) { return std::to_string(at.X) + "," + std::to_string(at.Y); }

}  // namespace

std::vector<PixelCall> CallsOverPixel(const FrameCalls& calls, int x, int y,
                                      PaintingCanvas& canvas) {
  std::vector<PixelCall> over;
  for (auto call = calls.Calls().rbegin(); call != calls.Calls().rend(); ++call)
    for (const PixelRect& area : PaintedBy(calls, *call, canvas))
      if (area.Contains(x, y)) {
        over.push_back({&*call, area});
        break;
      }
  return over;
}

std::string PixelExplanation::Text() const {
  std::string text = pixel + "\n";
  if (calls.empty()) return text + "  no call of the plugin drew over it\n";
  for (const Call& call : calls) text += "  " + call.text + "\n";
  return text;
}

PixelExplanation ExplainPixel(const FrameCalls& calls, long long frame, const Image& picture, int x,
                              int y, PaintingCanvas& canvas, Symbolizer& symbols) {
  const std::uint8_t* p = picture.Pixel(x, y);
  PixelExplanation explanation;
  explanation.pixel = "pixel " + PositionText({x, y}) + " of frame " + std::to_string(frame) +
                      ": " + std::to_string(p[0]) + "," + std::to_string(p[1]) + "," +
                      std::to_string(p[2]) + "," + std::to_string(p[3]);
  for (const PixelCall& c : CallsOverPixel(calls, x, y, canvas)) {
    const TraceRecord& r = calls.RecordOf(*c.call);
    explanation.calls.push_back(
        {"call " + std::to_string(c.call->index) + " " + r.op + " " + TraceValuesText(r.args) +
             " at " + PositionText(c.call->position) + " in " + TraceValueText(c.call->colour) +
             ", " + symbols.CallSite(r.calledFrom),
         c.area});
  }
  return explanation;
}

}  // namespace devhost
