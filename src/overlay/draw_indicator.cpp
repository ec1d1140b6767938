#include "overlay/draw_indicator.h"

#include "overlay/pixel_math.h"

namespace {
constexpr LinearColor kReleasedFill{35, 35, 35, 200};
constexpr LinearColor kBorderColour{60, 60, 60, 180};
}  // namespace

void DrawIndicator(CanvasWrapper& canvas, int x, int y, int width, int height, bool pressed,
                   const std::string& label, LinearColor onColour, float scale) {
  const LinearColor fill = pressed ? onColour : kReleasedFill;
  const float level = pressed ? 255.0f : 90.0f;

  canvas.SetColor(fill);
  canvas.SetPosition({x, y});
  canvas.FillBox({width, height});

  canvas.SetColor(kBorderColour);
  canvas.SetPosition({x, y});
  canvas.DrawBox({width, height});

  const float labelScale = 0.9f * scale;
  const Vector2F size = canvas.GetStringSize(label, labelScale, labelScale);
  canvas.SetColor({level, level, level, 255});
  canvas.SetPosition({pixel::Add(x, pixel::Trunc((static_cast<float>(width) - size.X) * 0.5f)),
                      pixel::Add(y, pixel::Trunc((static_cast<float>(height) - size.Y) * 0.5f))});
  canvas.DrawString(label, labelScale, labelScale);
}
