// A canvas that keeps every call with the position and colour in effect when it was made, and
// answers text sizes with fixed metrics so traces are reproducible.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/canvas.h"

namespace devhost {

struct CanvasCall {
  enum class Kind { GetSize, SetPosition, SetColor, DrawBox, FillBox, DrawString, GetStringSize };
  Kind kind;
  Vector2 position;    // in effect after the call
  LinearColor colour;  // in effect after the call
  Vector2 size;        // DrawBox, FillBox
  std::string text;    // DrawString, GetStringSize
  float xScale = 0, yScale = 0;
};

class RecordingCanvas : public Canvas {
 public:
  // Each character advances 8 pixels and a line is 16 pixels high, times the text scale.
  static constexpr float kCharAdvance = 8.0f;
  static constexpr float kLineHeight = 16.0f;

  explicit RecordingCanvas(Vector2 size = {1920, 1080}) : size_(size) {}

  void SetSize(Vector2 size) { size_ = size; }
  // Off by default, so long runs do not grow without bound.
  void KeepCalls(bool keep) { keep_ = keep; }
  const std::vector<CanvasCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // Every call since construction, kept or not.
  std::int64_t CallCount() const { return callCount_; }

  Vector2 GetSize() override;
  void SetPosition(Vector2 position) override;
  void SetColor(LinearColor colour) override;
  void DrawBox(Vector2 size) override;
  void FillBox(Vector2 size) override;
  void DrawString(const std::string& text, float xScale, float yScale) override;
  Vector2F GetStringSize(const std::string& text, float xScale, float yScale) override;

 private:
  void Keep(CanvasCall::Kind kind, Vector2 size = {}, const std::string* text = nullptr,
            float xScale = 0, float yScale = 0);

  Vector2 size_;
  Vector2 position_;
  LinearColor colour_;
  bool keep_ = false;
  std::int64_t callCount_ = 0;
  std::vector<CanvasCall> calls_;
};

}  // namespace devhost
