#include "render/painting_canvas.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cmath>

namespace devhost {

namespace {

ImU32 ToImColour(LinearColor c) {
  const auto channel = [](float v) {
    return static_cast<ImU32>(std::lround(std::clamp(std::isnan(v) ? 0.0f : v, 0.0f, 255.0f)));
  };
  return IM_COL32(channel(c.R), channel(c.G), channel(c.B), channel(c.A));
}

// Calls quad(glyph, penX) for each glyph of text at the scales and returns the size covered: the
// advances summed, and one line of the font's height.
template <typename Quad>
Vector2F WalkGlyphs(const ImFont& font, const std::string& text, float xScale, float yScale,
                    Quad&& quad) {
  float pen = 0;
  const char* s = text.data();
  const char* const end = s + text.size();
  while (s < end) {
    unsigned int c = 0;
    const int length = ImTextCharFromUtf8(&c, s, end);
    s += length > 0 ? length : 1;
    const ImFontGlyph* glyph = font.FindGlyph(static_cast<ImWchar>(c));
    if (glyph == nullptr) continue;
    quad(*glyph, pen);
    pen += glyph->AdvanceX * xScale;
  }
  return {pen, font.FontSize * yScale};
}

}  // namespace

PaintingCanvas::PaintingCanvas(Vector2 size, const ImFont& font)
    : RecordingCanvas(size), font_(font) {}

void PaintingCanvas::FillBox(Vector2 size) {
  RecordingCanvas::FillBox(size);
  if (target_ == nullptr || size.X <= 0 || size.Y <= 0) return;
  const Vector2 p = Position();
  target_->AddRectFilled(ImVec2(static_cast<float>(p.X), static_cast<float>(p.Y)),
                         ImVec2(static_cast<float>(p.X + size.X), static_cast<float>(p.Y + size.Y)),
                         ToImColour(Colour()));
}

void PaintingCanvas::DrawBox(Vector2 size) {
  RecordingCanvas::DrawBox(size);
  if (target_ == nullptr || size.X <= 0 || size.Y <= 0) return;
  // Four one-pixel strips that never overlap, so a translucent outline is even at the corners.
  const ImU32 colour = ToImColour(Colour());
  const Vector2 p = Position();
  const auto strip = [&](int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    target_->AddRectFilled(ImVec2(static_cast<float>(x), static_cast<float>(y)),
                           ImVec2(static_cast<float>(x + w), static_cast<float>(y + h)), colour);
  };
  strip(p.X, p.Y, size.X, 1);
  if (size.Y > 1) strip(p.X, p.Y + size.Y - 1, size.X, 1);
  strip(p.X, p.Y + 1, 1, size.Y - 2);
  if (size.X > 1) strip(p.X + size.X - 1, p.Y + 1, 1, size.Y - 2);
}

void PaintingCanvas::DrawString(const std::string& text, float xScale, float yScale) {
  RecordingCanvas::DrawString(text, xScale, yScale);
  if (target_ == nullptr) return;
  const ImU32 colour = ToImColour(Colour());
  const ImVec2 origin(static_cast<float>(Position().X), static_cast<float>(Position().Y));
  target_->PushTextureID(font_.ContainerAtlas->TexID);
  WalkGlyphs(font_, text, xScale, yScale, [&](const ImFontGlyph& g, float pen) {
    if (!g.Visible) return;
    target_->PrimReserve(6, 4);
    target_->PrimRectUV(ImVec2(origin.x + pen + g.X0 * xScale, origin.y + g.Y0 * yScale),
                        ImVec2(origin.x + pen + g.X1 * xScale, origin.y + g.Y1 * yScale),
                        ImVec2(g.U0, g.V0), ImVec2(g.U1, g.V1), colour);
  });
  target_->PopTextureID();
}

Vector2F PaintingCanvas::GetStringSize(const std::string& text, float xScale, float yScale) {
  RecordingCanvas::GetStringSize(text, xScale, yScale);
  return WalkGlyphs(font_, text, xScale, yScale, [](const ImFontGlyph&, float) {});
}

}  // namespace devhost
