// One car's panel: background, border, header with the owner's name, the bar rows shown and the
// row of indicator cells shown. Rows that are off take no room.
#include "host/canvas_wrapper.h"
#include "overlay/draw_bar.h"
#include "overlay/draw_indicator.h"
#include "overlay/pixel_math.h"
#include "plugin/veyrant.h"

namespace {
constexpr LinearColor kBackground{12, 12, 18, 220};
constexpr LinearColor kBorder{50, 50, 70, 180};
constexpr LinearColor kHeaderBand{20, 20, 55, 255};
constexpr LinearColor kHeaderText{150, 200, 255, 255};
constexpr LinearColor kThrottleColour{60, 210, 80, 255};        // green
constexpr LinearColor kBrakeColour{220, 70, 60, 255};           // red
constexpr LinearColor kSteerColour{80, 150, 255, 255};          // blue, either way
constexpr LinearColor kRollPositiveColour{255, 100, 200, 255};  // pink
constexpr LinearColor kRollNegativeColour{200, 100, 255, 255};  // violet
constexpr LinearColor kBoostColour{220, 140, 0, 255};           // orange
constexpr LinearColor kJumpColour{140, 140, 230, 255};          // lavender
constexpr LinearColor kHandbrakeColour{220, 80, 0, 255};        // deep orange

// One on/off cell of the indicator row.
struct Indicator {
  bool shown;
  bool pressed;
  const char* label;
  LinearColor onColour;
};
}  // namespace

void Veyrant::DrawInputPanel(CanvasWrapper& canvas, const CarInputSample& sample, int x, int y,
                             int width) {
  const float scale = settings.scale;
  const int margin = pixel::Trunc(8 * scale);
  const int barHeight = pixel::Trunc(10 * scale);
  const int rowGap = pixel::Trunc(5 * scale);
  const int indicatorHeight = pixel::Trunc(20 * scale);
  const int headerHeight = pixel::Trunc(26 * scale);
  const int labelWidth = pixel::Trunc(36 * scale);
  const int barWidth = pixel::Sub(pixel::Sub(width, labelWidth), pixel::Mul(2, margin));
  const int headerTextDrop = pixel::Trunc(5 * scale);

  const int barsShown =
      int{settings.showThrottle} + int{settings.showSteer} + int{settings.showRoll};
  const int indicatorsShown =
      int{settings.showBoost} + int{settings.showJump} + int{settings.showHandbrake};
  int panelHeight = pixel::Add(headerHeight, pixel::Mul(2, margin));
  panelHeight = pixel::Add(panelHeight, pixel::Mul(barsShown, pixel::Add(barHeight, rowGap)));
  if (indicatorsShown > 0)
    panelHeight = pixel::Add(panelHeight, pixel::Add(margin, indicatorHeight));

  canvas.SetColor(kBackground);
  canvas.SetPosition({x, y});
  canvas.FillBox({width, panelHeight});

  canvas.SetColor(kBorder);
  canvas.SetPosition({x, y});
  canvas.DrawBox({width, panelHeight});

  canvas.SetColor(kHeaderBand);
  canvas.SetPosition({x, y});
  canvas.FillBox({width, headerHeight});

  const float headerScale = 1.1f * scale;
  canvas.SetColor(kHeaderText);
  canvas.SetPosition({pixel::Add(x, margin), pixel::Add(y, headerTextDrop)});
  canvas.DrawString(sample.ownerName.empty() ? "Unknown" : sample.ownerName, headerScale,
                    headerScale);

  int rowTop = pixel::Add(pixel::Add(y, headerHeight), margin);
  DrawBar drawBar(canvas, x, margin, rowTop, settings, labelWidth, barWidth, barHeight, rowGap);
  if (settings.showThrottle) drawBar("THR", sample.throttle, kThrottleColour, kBrakeColour);
  if (settings.showSteer) drawBar("STR", sample.steer, kSteerColour, kSteerColour);
  if (settings.showRoll) drawBar("ROLL", sample.roll, kRollPositiveColour, kRollNegativeColour);

  if (indicatorsShown == 0) return;
  const int indicatorGap = pixel::Trunc(4 * scale);
  rowTop = pixel::Add(rowTop, pixel::Trunc(3 * scale));
  const int innerWidth = pixel::Sub(pixel::Sub(width, pixel::Mul(2, margin)),
                                    pixel::Mul(indicatorsShown - 1, indicatorGap));
  const int cellWidth = pixel::Div(innerWidth, indicatorsShown);
  const int cellStep = pixel::Add(cellWidth, indicatorGap);
  int cellLeft = pixel::Add(x, margin);
  const Indicator indicators[] = {
      {settings.showBoost, sample.boost, "BOOST", kBoostColour},
      {settings.showJump, sample.jump, "JUMP", kJumpColour},
      {settings.showHandbrake, sample.handbrake, "HB", kHandbrakeColour}};
  for (const Indicator& indicator : indicators) {
    if (!indicator.shown) continue;
    DrawIndicator(canvas, cellLeft, rowTop, cellWidth, indicatorHeight, indicator.pressed,
                  indicator.label, indicator.onColour, scale);
    cellLeft = pixel::Add(cellLeft, cellStep);
  }
}
