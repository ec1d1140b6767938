// A canvas that only counts its calls and keeps the position and colour in effect, and answers
// text sizes with fixed metrics so traces are reproducible.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/canvas.h"

namespace devhost {

class RecordingCanvas : public Canvas {
 public:
  // Each character advances 8 pixels and a line is 16 pixels high, times the text scale.
  static constexpr float kCharAdvance = 8.0f;
  static constexpr float kLineHeight = 16.0f;

  explicit RecordingCanvas(Vector2 size = {1920, 1080}) : size_(size) {}

  // What the next box or text is drawn at and in.
  Vector2 Position() const { return position_; }
  LinearColor Colour() const { return colour_; }
  // Every call since construction.
  std::int64_t CallCount() const { return callCount_; }

  Vector2 GetSize() override;
  void SetPosition(Vector2 position) override;
  void SetColor(LinearColor colour) override;
  void DrawBox(Vector2 size) override;
  void FillBox(Vector2 size) override;
  void DrawString(const std::string& text, float xScale, float yScale) override;
  Vector2F GetStringSize(const std::string& text, float xScale, float yScale) override;

 private:
  Vector2 size_;
  Vector2 position_;
  LinearColor colour_;
  std::int64_t callCount_ = 0;
};

}  // namespace devhost
