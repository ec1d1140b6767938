// The per-frame 2-D canvas. Position and colour stay in effect until they are set again.
#pragma once

#include <string>

#include "host/object_wrapper.h"
#include "host/value_types.h"

class PRYNDAL_SDK_API CanvasWrapper : public ObjectWrapper {
 public:
  using ObjectWrapper::ObjectWrapper;
  Vector2 GetSize();
  void SetPosition(Vector2 position);
  void SetColor(LinearColor colour);
  // Outline and filled rectangle of that size at the current position.
  void DrawBox(Vector2 size);
  void FillBox(Vector2 size);
  // Text with its top-left corner at the current position.
  void DrawString(std::string text, float xScale, float yScale);
  // The size DrawString covers with that text at those scales.
  Vector2F GetStringSize(std::string text, float xScale, float yScale);
};
