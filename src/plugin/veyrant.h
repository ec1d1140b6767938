// The plugin class: the host's plugin base first, the settings-page interface second, then the
// mirrored settings. The host reaches the settings page only through a dynamic_cast.
#pragma once

#include <cstdint>
#include <string>

#include "host/canvas_wrapper.h"
#include "host/plugin.h"
#include "overlay/car_input_sample.h"
#include "plugin/overlay_settings.h"

// The host's base has a non-virtual destructor by design; Veyrant is destroyed through its
// ownership record or through PluginSettingsWindow's virtual destructor, never through the base.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class Veyrant final : public Pryndal::Plugin::PryndalPlugin,
                      public Pryndal::Plugin::PluginSettingsWindow {
 public:
  Veyrant() = default;
  ~Veyrant() override = default;

  Veyrant(const Veyrant&) = delete;
  Veyrant& operator=(const Veyrant&) = delete;

  void onLoad() override;

  void RenderSettings() override;
  std::string GetPluginName() override;
  void SetImGuiContext(std::uintptr_t ctx) override;

  // The drawable's body, once per rendered frame.
  void RenderOverlay(CanvasWrapper canvas);
  void DrawInputPanel(CanvasWrapper& canvas, const CarInputSample& sample, int x, int y, int width);

  OverlaySettings settings;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
