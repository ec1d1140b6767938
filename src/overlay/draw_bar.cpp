// The bar row's canvas calls: 9 with no fill, 12 with one, 4 more for the value text.
#include "overlay/draw_bar.h"

#include <cstdio>
#include <string>

#include "overlay/pixel_math.h"

namespace {
constexpr LinearColor kLabelColour{100, 100, 100, 200};
constexpr LinearColor kTrackColour{20, 20, 20, 220};
constexpr LinearColor kCentreMarkColour{80, 80, 80, 255};
constexpr LinearColor kValueTextColour{220, 220, 220, 220};
}  // namespace

void DrawBar::operator()(const char* label, float value, LinearColor positiveColour,
                         LinearColor negativeColour) {
  const float s = settings_.scale;
  const int x = left_;
  const int y = rowTop_;
  const int w = barWidth_;
  const int h = barHeight_;

  const float labelScale = 0.85f * s;
  canvas_.SetColor(kLabelColour);
  canvas_.SetPosition({pixel::Add(x, margin_), pixel::Add(y, 1)});
  canvas_.DrawString(label, labelScale, labelScale);

  const int trackLeft = pixel::Add(pixel::Add(x, margin_), labelWidth_);
  canvas_.SetColor(kTrackColour);
  canvas_.SetPosition({trackLeft, y});
  canvas_.FillBox({w, h});

  const int half = w / 2;
  const int centre = pixel::Add(trackLeft, half);
  canvas_.SetColor(kCentreMarkColour);
  canvas_.SetPosition({pixel::Sub(centre, 1), y});
  canvas_.FillBox({2, h});

  if (value > 0) {
    canvas_.SetColor(positiveColour);
    canvas_.SetPosition({centre, y});
    canvas_.FillBox({pixel::Trunc(static_cast<float>(half) * value), h});
  } else if (value < 0) {
    const int fill = pixel::Trunc(static_cast<float>(half) * -value);
    canvas_.SetColor(negativeColour);
    canvas_.SetPosition({pixel::Sub(centre, fill), y});
    canvas_.FillBox({fill, h});
  }

  if (settings_.showValues) {
    char text[16];
    std::snprintf(text, sizeof text, "%.0f%%", static_cast<double>(value * 100.0f));
    const float t = 0.75f * s;
    const Vector2F size = canvas_.GetStringSize(text, t, t);
    canvas_.SetColor(kValueTextColour);
    canvas_.SetPosition(
        {pixel::Add(trackLeft, pixel::Trunc((static_cast<float>(w) - size.X) * 0.5f)),
         pixel::Add(y, pixel::Trunc((static_cast<float>(h) - size.Y) * 0.5f))});
    canvas_.DrawString(text, t, t);
  }

  rowTop_ = pixel::Add(pixel::Add(y, h), rowGap_);
}
