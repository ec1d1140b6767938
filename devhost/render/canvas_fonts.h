// The host's font for the painting canvas, at every whole pixel size a text asks for. Each size is
// rasterised on first use into an atlas and an OpenGL texture of its own: the host context's
// atlas is locked while a frame is drawn, and the size a plugin asks for is only known then.
#pragma once

#include <map>
#include <memory>

struct ImFont;
struct ImFontAtlas;

namespace devhost {

class CanvasFonts {
 public:
  // Larger text is drawn from this size, scaled up; the largest text of a panel at overlay scale
  // 3.3 is 48 pixels.
  static constexpr int kLargestPixels = 64;

  CanvasFonts();
  ~CanvasFonts();
  CanvasFonts(const CanvasFonts&) = delete;
  CanvasFonts& operator=(const CanvasFonts&) = delete;

  // The font at pixels (1 to kLargestPixels), its atlas's TexID the texture. The first call for a
  // size needs the renderer's OpenGL context current. Throws FontError as AddHostFont does.
  const ImFont& AtPixels(int pixels);

 private:
  struct Size {
    std::unique_ptr<ImFontAtlas> atlas;
    unsigned texture = 0;
  };
  std::map<int, Size> sizes_;
};

}  // namespace devhost
