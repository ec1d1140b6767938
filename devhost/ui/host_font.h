// The host's typeface, DejaVu Sans from Debian's fonts-dejavu-core, for its windows and for the
// painting canvas. Glyphs are rasterised at the size they are drawn at, with whole-pixel offsets
// and advances, so text set at a whole position lands on the pixel grid unscaled and stays sharp.
#pragma once

#include <stdexcept>

#include "system/host_errors.h"

struct ImFont;
struct ImFontAtlas;

namespace devhost {

inline constexpr char kHostFontFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// The host's windows, and canvas text at scale 1: the size Dear ImGui's own font has.
inline constexpr float kHostFontPixels = 13;

// Adds the font at pixels (ascender to descender, as Dear ImGui sizes fonts) with Basic Latin and
// Latin-1 to the atlas; the atlas is built later. The file is read once. Throws FontError naming
// the file and its package when it cannot be read or is no TrueType font. The Windows build draws
// no pictures and has no such file: it adds Dear ImGui's built-in font instead.
ImFont* AddHostFont(ImFontAtlas& atlas, float pixels);

}  // namespace devhost
