#include "render/canvas_fonts.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <imgui.h>

#include <algorithm>
#include <cstdint>

#include "ui/host_font.h"

namespace devhost {

namespace {

// One channel, read as white with the glyph's coverage as alpha: a quarter of an RGBA texture.
unsigned UploadCoverage(const unsigned char* alpha, int width, int height) {
  GLint previous = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  const GLint swizzle[] = {GL_ONE, GL_ONE, GL_ONE, GL_RED};
  glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, width, height, 0, GL_RED, GL_UNSIGNED_BYTE, alpha);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
  return texture;
}

}  // namespace

CanvasFonts::CanvasFonts() = default;

// A window's context may be gone by now; GL calls without a current context do nothing.
CanvasFonts::~CanvasFonts() {
  for (auto& [pixels, size] : sizes_) glDeleteTextures(1, &size.texture);
}

const ImFont& CanvasFonts::AtPixels(int pixels) {
  pixels = std::clamp(pixels, 1, kLargestPixels);
  if (const auto found = sizes_.find(pixels); found != sizes_.end())
    return *found->second.atlas->Fonts[0];
  auto atlas = std::make_unique<ImFontAtlas>();
  atlas->Flags = ImFontAtlasFlags_NoMouseCursors | ImFontAtlasFlags_NoBakedLines;
  AddHostFont(*atlas, static_cast<float>(pixels));
  unsigned char* alpha = nullptr;
  int width = 0, height = 0;
  atlas->GetTexDataAsAlpha8(&alpha, &width, &height);
  Size& size = sizes_[pixels];
  size.texture = UploadCoverage(alpha, width, height);
  atlas->SetTexID(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(size.texture)));
  atlas->ClearTexData();  // the texture holds the pixels now
  size.atlas = std::move(atlas);
  return *size.atlas->Fonts[0];
}

}  // namespace devhost
