#include "core/recording_canvas.h"

namespace devhost {

void RecordingCanvas::Keep(CanvasCall::Kind kind, Vector2 size, const std::string* text,
                           float xScale, float yScale) {
  ++callCount_;
  if (!keep_) return;
  calls_.push_back({kind, position_, colour_, size, text ? *text : std::string(), xScale, yScale});
}

Vector2 RecordingCanvas::GetSize() {
  Keep(CanvasCall::Kind::GetSize);
  return size_;
}

void RecordingCanvas::SetPosition(Vector2 position) {
  position_ = position;
  Keep(CanvasCall::Kind::SetPosition);
}

void RecordingCanvas::SetColor(LinearColor colour) {
  colour_ = colour;
  Keep(CanvasCall::Kind::SetColor);
}

void RecordingCanvas::DrawBox(Vector2 size) { Keep(CanvasCall::Kind::DrawBox, size); }

void RecordingCanvas::FillBox(Vector2 size) { Keep(CanvasCall::Kind::FillBox, size); }

void RecordingCanvas::DrawString(const std::string& text, float xScale, float yScale) {
  Keep(CanvasCall::Kind::DrawString, {}, &text, xScale, yScale);
}

Vector2F RecordingCanvas::GetStringSize(const std::string& text, float xScale, float yScale) {
  Keep(CanvasCall::Kind::GetStringSize, {}, &text, xScale, yScale);
  return {kCharAdvance * static_cast<float>(text.size()) * xScale, kLineHeight * yScale};
}

}  // namespace devhost
