// The canvas wrapper over whichever canvas the frame draws on.
#include "host/canvas_wrapper.h"

#include <string>
#include <utility>

#include "sdk/wrapper_access.h"

using namespace devhost::wrapper;

Vector2 CanvasWrapper::GetSize() {
  const Vector2 value = memory_address == 0 ? Vector2{} : CanvasAt(memory_address)->GetSize();
  if (ActiveTrace().Active()) TraceCanvas(DEVHOST_CALLED_FROM, "CanvasWrapper::GetSize", {}, value);
  return value;
}

void CanvasWrapper::SetPosition(Vector2 position) {
  if (ActiveTrace().Active())
    TraceCanvas(DEVHOST_CALLED_FROM, "CanvasWrapper::SetPosition", {position});
  if (memory_address != 0) CanvasAt(memory_address)->SetPosition(position);
}

void CanvasWrapper::SetColor(LinearColor colour) {
  if (ActiveTrace().Active()) TraceCanvas(DEVHOST_CALLED_FROM, "CanvasWrapper::SetColor", {colour});
  if (memory_address != 0) CanvasAt(memory_address)->SetColor(colour);
}

void CanvasWrapper::DrawBox(Vector2 size) {
  if (ActiveTrace().Active()) TraceCanvas(DEVHOST_CALLED_FROM, "CanvasWrapper::DrawBox", {size});
  if (memory_address != 0) CanvasAt(memory_address)->DrawBox(size);
}

void CanvasWrapper::FillBox(Vector2 size) {
  if (ActiveTrace().Active()) TraceCanvas(DEVHOST_CALLED_FROM, "CanvasWrapper::FillBox", {size});
  if (memory_address != 0) CanvasAt(memory_address)->FillBox(size);
}

void CanvasWrapper::DrawString(std::string text, float xScale, float yScale) {
  if (ActiveTrace().Active())
    TraceCanvas(DEVHOST_CALLED_FROM, "CanvasWrapper::DrawString", {text, xScale, yScale});
  if (memory_address != 0) CanvasAt(memory_address)->DrawString(text, xScale, yScale);
}

Vector2F CanvasWrapper::GetStringSize(std::string text, float xScale, float yScale) {
  const Vector2F value = memory_address == 0
                             ? Vector2F{}
                             : CanvasAt(memory_address)->GetStringSize(text, xScale, yScale);
  if (ActiveTrace().Active())
    TraceCanvas(DEVHOST_CALLED_FROM, "CanvasWrapper::GetStringSize",
                {std::move(text), xScale, yScale}, value);
  return value;
}
