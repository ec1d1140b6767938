// Once per rendered frame: whether to draw at all, which cars to show, and where their panels go.
#include <cstdint>
#include <vector>

#include "host/game_wrapper.h"
#include "overlay/pixel_math.h"
#include "overlay/sample_car.h"
#include "plugin/veyrant.h"

void Veyrant::RenderOverlay(CanvasWrapper canvas) {
  if (!settings.enabled) return;
  if (!gameWrapper->IsInReplay()) return;
  ServerWrapper gameState = gameWrapper->GetCurrentGameState();
  if (gameState.IsNull()) return;
  ArrayWrapper<CarWrapper> cars = gameState.GetCars();
  if (cars.Count() == 0) return;

  std::uintptr_t target = 0;
  CameraWrapper camera = gameWrapper->GetCamera();
  if (!camera.IsNull()) target = camera.GetViewTarget().Target;

  std::vector<CarInputSample> samples;
  for (int i = 0; i < cars.Count(); ++i) {
    CarWrapper car = cars.Get(i);
    if (car.IsNull()) continue;
    if (target == 0 || target == car.memory_address) SampleCar(car, samples);
  }
  // The camera names something that is no car: show them all.
  if (samples.empty()) {
    for (int i = 0; i < cars.Count(); ++i) {
      CarWrapper car = cars.Get(i);
      if (!car.IsNull()) SampleCar(car, samples);
    }
  }

  const Vector2 size = canvas.GetSize();
  const int left = pixel::Trunc(static_cast<float>(size.X) * settings.posX);
  const int firstTop = pixel::Trunc(static_cast<float>(size.Y) * settings.posY);
  const int width = pixel::Trunc(settings.scale * 240);
  // Two truncations, not one of scale * 107.
  const int step = pixel::Add(pixel::Trunc(settings.scale * 99), pixel::Trunc(settings.scale * 8));

  int panel = 0;
  for (const CarInputSample& sample : samples) {
    DrawInputPanel(canvas, sample, left, pixel::Add(firstTop, pixel::Mul(panel, step)), width);
    ++panel;
  }
}
