#include "ui/host_font.h"

#include <imgui.h>

#if !defined(_WIN32)
#include <stb/stb_truetype.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#endif

namespace devhost {

#if defined(_WIN32)

ImFont* AddHostFont(ImFontAtlas& atlas, float pixels) {
  ImFontConfig config;
  config.SizePixels = pixels;
  return atlas.AddFontDefault(&config);
}

#else

namespace {

// Checked here: Dear ImGui asserts on a font it cannot parse.
std::vector<unsigned char> ReadFontFile() {
  const auto fail = [](const std::string& why) {
    return FontError(std::string(kHostFontFile) + ": " + why +
                     " (the host's font; Debian package fonts-dejavu-core, which scripts/setup "
                     "installs)");
  };
  std::ifstream in(kHostFontFile, std::ios::binary);
  if (!in) throw fail(std::string("cannot read the file: ") + std::strerror(errno));
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
  stbtt_fontinfo info;
  const int offset = bytes.empty() ? -1 : stbtt_GetFontOffsetForIndex(bytes.data(), 0);
  if (offset < 0 || stbtt_InitFont(&info, bytes.data(), offset) == 0)
    throw fail("not a TrueType font");
  return bytes;
}

std::vector<unsigned char>& FontFile() {
  static std::vector<unsigned char> bytes = ReadFontFile();
  return bytes;
}

}  // namespace

ImFont* AddHostFont(ImFontAtlas& atlas, float pixels) {
  std::vector<unsigned char>& bytes = FontFile();
  ImFontConfig config;
  config.FontDataOwnedByAtlas = false;  // one copy of the file serves every atlas and size
  config.OversampleH = 1;
  config.OversampleV = 1;
  config.PixelSnapH = true;
  return atlas.AddFontFromMemoryTTF(bytes.data(), static_cast<int>(bytes.size()), pixels, &config);
}

#endif

}  // namespace devhost
