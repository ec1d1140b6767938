// What CanvasWrapper draws on. The recording canvas and the painting canvas implement it; a canvas
// handle's address is the address of one of these.
#pragma once

#include <string>

#include "host/value_types.h"
#include "sdk/sdk_export.h"

namespace devhost {

class DEVHOST_SDK_API Canvas {
 public:
  virtual ~Canvas();
  virtual Vector2 GetSize() = 0;
  virtual void SetPosition(Vector2 position) = 0;
  virtual void SetColor(LinearColor colour) = 0;
  virtual void DrawBox(Vector2 size) = 0;
  virtual void FillBox(Vector2 size) = 0;
  virtual void DrawString(const std::string& text, float xScale, float yScale) = 0;
  virtual Vector2F GetStringSize(const std::string& text, float xScale, float yScale) = 0;
};

}  // namespace devhost
