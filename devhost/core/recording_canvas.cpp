#include "core/recording_canvas.h"

namespace devhost {

Vector2 RecordingCanvas::GetSize() {
  ++callCount_;
  return size_;
}

void RecordingCanvas::SetPosition(Vector2 position) {
  ++callCount_;
  position_ = position;
}

void RecordingCanvas::SetColor(LinearColor colour) {
  ++callCount_;
  colour_ = colour;
}

void RecordingCanvas::DrawBox(Vector2) { ++callCount_; }

void RecordingCanvas::FillBox(Vector2) { ++callCount_; }

void RecordingCanvas::DrawString(const std::string&, float, float) { ++callCount_; }

Vector2F RecordingCanvas::GetStringSize(const std::string& text, float xScale, float yScale) {
  ++callCount_;
  return {kCharAdvance * static_cast<float>(text.size()) * xScale, kLineHeight * yScale};
}

}  // namespace devhost
