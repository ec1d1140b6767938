// An OpenGL 3.3 core context with no window, no display and no GPU: EGL on Mesa's surfaceless
// platform with its software rasteriser, as on a CI machine. Current on the thread that made it.
#pragma once

namespace devhost {

class HeadlessGlContext {
 public:
  // Throws RenderError naming the EGL step that failed.
  HeadlessGlContext();
  ~HeadlessGlContext();
  HeadlessGlContext(const HeadlessGlContext&) = delete;
  HeadlessGlContext& operator=(const HeadlessGlContext&) = delete;

 private:
  void* display_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace devhost
