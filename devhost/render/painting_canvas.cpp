#include "render/painting_canvas.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cmath>

#include "ui/host_font.h"

namespace devhost {

namespace {

ImU32 ToImColour(LinearColor c) {
  const auto channel = [](float v) {
    return static_cast<ImU32>(std::lround(std::clamp(std::isnan(v) ? 0.0f : v, 0.0f, 255.0f)));
  };
  return IM_COL32(channel(c.R), channel(c.G), channel(c.B), channel(c.A));
}

// Where a text's glyphs reach, in its font's pixels from the pen's start: left is below 0 where the
// first glyph's bitmap reaches left of its pen, right is the last advance or bitmap edge.
struct Extent {
  float left = 0, right = 0;
};

// Calls quad(glyph, penX) for each visible glyph of text, the pen starting at start.
template <typename Quad>
Extent WalkGlyphs(const ImFont& font, const std::string& text, float start, Quad&& quad) {
  Extent extent;
  float pen = start;
  const char* s = text.data();
  const char* const end = s + text.size();
  while (s < end) {
    unsigned int c = 0;
    const int length = ImTextCharFromUtf8(&c, s, end);
    s += length > 0 ? length : 1;
    const ImFontGlyph* glyph = font.FindGlyph(static_cast<ImWchar>(c));
    if (glyph == nullptr) continue;
    if (glyph->Visible) {
      quad(*glyph, pen);
      extent.left = std::min(extent.left, pen + glyph->X0);
      extent.right = std::max(extent.right, pen + glyph->X1);
    }
    pen += glyph->AdvanceX;
    extent.right = std::max(extent.right, pen);
  }
  return extent;
}

float LineHeight(const ImFont& font) { return font.Ascent - font.Descent; }

}  // namespace

PaintingCanvas::PaintingCanvas(Vector2 size) : RecordingCanvas(size) {}

PaintingCanvas::TextSetting PaintingCanvas::Setting(float xScale, float yScale) {
  // The nearest whole pixel size, rasterised as such: up to the largest size, each glyph is drawn
  // at the size it was rasterised at, on the pixel grid.
  const float pixels = std::round(kHostFontPixels * std::fabs(yScale));
  if (!(pixels >= 1) || !std::isfinite(pixels) || !std::isfinite(xScale)) return {};
  const ImFont& font = fonts_.AtPixels(
      static_cast<int>(std::min(pixels, static_cast<float>(CanvasFonts::kLargestPixels))));
  const float y = std::copysign(pixels / font.FontSize, yScale);
  return {&font, y * (xScale / yScale), y};
}

void PaintingCanvas::Paint(const std::vector<PixelRect>& area) {
  const ImU32 colour = ToImColour(Colour());
  for (const PixelRect& r : area)
    target_->AddRectFilled(
        ImVec2(static_cast<float>(r.x), static_cast<float>(r.y)),
        ImVec2(static_cast<float>(r.x + r.width), static_cast<float>(r.y + r.height)), colour);
}

void PaintingCanvas::FillBox(Vector2 size) {
  RecordingCanvas::FillBox(size);
  if (target_ != nullptr) Paint(FilledArea(Position(), size));
}

void PaintingCanvas::DrawBox(Vector2 size) {
  RecordingCanvas::DrawBox(size);
  if (target_ != nullptr) Paint(OutlineArea(Position(), size));
}

void PaintingCanvas::DrawString(const std::string& text, float xScale, float yScale) {
  RecordingCanvas::DrawString(text, xScale, yScale);
  if (target_ == nullptr) return;
  const TextSetting set = Setting(xScale, yScale);
  if (set.font == nullptr) return;
  const ImFont& font = *set.font;
  const float start = -WalkGlyphs(font, text, 0, [](const ImFontGlyph&, float) {}).left;
  const ImU32 colour = ToImColour(Colour());
  const ImVec2 origin(static_cast<float>(Position().X), static_cast<float>(Position().Y));
  target_->PushTextureID(font.ContainerAtlas->TexID);
  WalkGlyphs(font, text, start, [&](const ImFontGlyph& g, float pen) {
    target_->PrimReserve(6, 4);
    target_->PrimRectUV(ImVec2(origin.x + (pen + g.X0) * set.x, origin.y + g.Y0 * set.y),
                        ImVec2(origin.x + (pen + g.X1) * set.x, origin.y + g.Y1 * set.y),
                        ImVec2(g.U0, g.V0), ImVec2(g.U1, g.V1), colour);
  });
  target_->PopTextureID();
}

Vector2F PaintingCanvas::GetStringSize(const std::string& text, float xScale, float yScale) {
  RecordingCanvas::GetStringSize(text, xScale, yScale);
  const TextSetting set = Setting(xScale, yScale);
  if (set.font == nullptr) return {0, 0};
  const Extent extent = WalkGlyphs(*set.font, text, 0, [](const ImFontGlyph&, float) {});
  return {(extent.right - extent.left) * set.x, LineHeight(*set.font) * set.y};
}

}  // namespace devhost
