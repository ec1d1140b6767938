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
  const int top = rowTop_;

  const float labelScale = 0.85f * settings_.scale;
  canvas_.SetColor(kLabelColour);
  canvas_.SetPosition({pixel::Add(left_, margin_), pixel::Add(top, 1)});
  canvas_.DrawString(label, labelScale, labelScale);

  const int trackLeft = pixel::Add(pixel::Add(left_, margin_), labelWidth_);
  canvas_.SetColor(kTrackColour);
  canvas_.SetPosition({trackLeft, top});
  canvas_.FillBox({barWidth_, barHeight_});

  const int halfWidth = barWidth_ / 2;
  const int centre = pixel::Add(trackLeft, halfWidth);
  canvas_.SetColor(kCentreMarkColour);
  canvas_.SetPosition({pixel::Sub(centre, 1), top});
  canvas_.FillBox({2, barHeight_});

  if (value > 0) {
    canvas_.SetColor(positiveColour);
    canvas_.SetPosition({centre, top});
    canvas_.FillBox({pixel::Trunc(static_cast<float>(halfWidth) * value), barHeight_});
  } else if (value < 0) {
    const int fill = pixel::Trunc(static_cast<float>(halfWidth) * -value);
    canvas_.SetColor(negativeColour);
    canvas_.SetPosition({pixel::Sub(centre, fill), top});
    canvas_.FillBox({fill, barHeight_});
  }

  if (settings_.showValues) {
    char text[16];
    std::snprintf(text, sizeof text, "%.0f%%", static_cast<double>(value * 100.0f));
    const float textScale = 0.75f * settings_.scale;
    const Vector2F size = canvas_.GetStringSize(text, textScale, textScale);
    canvas_.SetColor(kValueTextColour);
    canvas_.SetPosition(
        {pixel::Add(trackLeft, pixel::Trunc((static_cast<float>(barWidth_) - size.X) * 0.5f)),
         pixel::Add(top, pixel::Trunc((static_cast<float>(barHeight_) - size.Y) * 0.5f))});
    canvas_.DrawString(text, textScale, textScale);
  }

  rowTop_ = pixel::Add(pixel::Add(top, barHeight_), rowGap_);
}
