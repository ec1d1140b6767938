#include "ui/screen_reader.h"

#include <imgui_internal.h>

#include <cmath>
#include <map>
#include <tuple>

namespace devhost {

namespace {

using UvKey = std::tuple<float, float, float, float>;

// The same position but for the rounding of the vertices' floats.
bool WithinRounding(float a, float b) { return std::fabs(a - b) < 0.01f; }

// The library emits every rectangle, filled or textured, as corners (x0,y0) (x1,y0) (x1,y1)
// (x0,y1) in two triangles 0-1-2 and 0-2-3.
bool IsRectangle(const ImDrawIdx* idx, const ImDrawVert* vtx) {
  const unsigned a = idx[0];
  if (idx[1] != a + 1 || idx[2] != a + 2 || idx[3] != a || idx[4] != a + 2 || idx[5] != a + 3)
    return false;
  const ImDrawVert* q = vtx + a;
  return q[0].pos.y == q[1].pos.y && q[1].pos.x == q[2].pos.x && q[2].pos.y == q[3].pos.y &&
         q[3].pos.x == q[0].pos.x && q[0].pos.x < q[2].pos.x && q[0].pos.y < q[2].pos.y;
}

// Glyphs join into one string while they sit on one line in one colour, each where the previous
// one's advance (plus a few spaces, which draw nothing) puts it.
class TextBuilder {
 public:
  TextBuilder(const ImFont& font, std::vector<ScreenText>& out) : font_(font), out_(out) {
    const ImFontGlyph* space = font.FindGlyphNoFallback(' ');
    spaceAdvance_ = space != nullptr ? space->AdvanceX : font.FallbackAdvanceX;
  }
  ~TextBuilder() { Flush(); }
  TextBuilder(const TextBuilder&) = delete;
  TextBuilder& operator=(const TextBuilder&) = delete;

  void Add(const ImFontGlyph& glyph, const ImDrawVert* quad) {
    const float height = glyph.Y1 - glyph.Y0;
    const float scale = height > 0 ? (quad[2].pos.y - quad[0].pos.y) / height : 1.0f;
    const float penX = quad[0].pos.x - glyph.X0 * scale;
    const float lineY = quad[0].pos.y - glyph.Y0 * scale;
    const ImU32 color = quad[0].col;
    bool joined = false;
    if (open_ && current_.color == color && WithinRounding(lineY_, lineY)) {
      const float spaces = (penX - penEnd_) / (spaceAdvance_ * scale);
      const float whole = std::round(spaces);
      if (WithinRounding(spaces, whole) && whole >= 0 && whole <= kMaxSpacesInText) {
        current_.text.append(static_cast<std::size_t>(whole), ' ');
        joined = true;
      }
    }
    if (!joined) {
      Flush();
      open_ = true;
      current_.color = color;
      current_.box.min = ImVec2(penX, lineY);
      lineY_ = lineY;
    }
    char utf8[5];
    current_.text += ImTextCharToUtf8(utf8, glyph.Codepoint);
    penEnd_ = penX + glyph.AdvanceX * scale;
    current_.box.max = ImVec2(penEnd_, lineY + font_.FontSize * scale);
  }

  void Flush() {
    if (open_) out_.push_back(std::move(current_));
    current_ = {};
    open_ = false;
  }

 private:
  const ImFont& font_;
  std::vector<ScreenText>& out_;
  float spaceAdvance_ = 0;
  bool open_ = false;
  ScreenText current_;
  float lineY_ = 0, penEnd_ = 0;
};

}  // namespace

bool Screen::ShowsColorIn(const ScreenBox& box, ImU32 color) const {
  for (const ImDrawVert& v : vertices)
    if (v.col == color && box.Contains(v.pos)) return true;
  return false;
}

Screen ReadScreen(const ImDrawData& data, const ImFont& font, ImVec2 whiteUv) {
  std::map<UvKey, const ImFontGlyph*> glyphs;
  for (const ImFontGlyph& glyph : font.Glyphs)
    if (glyph.Visible) glyphs[{glyph.U0, glyph.V0, glyph.U1, glyph.V1}] = &glyph;

  Screen screen;
  for (int l = 0; l < data.CmdListsCount; ++l) {
    const ImDrawList& list = *data.CmdLists[l];
    TextBuilder text(font, screen.texts);
    for (const ImDrawCmd& cmd : list.CmdBuffer) {
      if (cmd.UserCallback != nullptr) continue;
      const ImDrawVert* vtx = list.VtxBuffer.Data + cmd.VtxOffset;
      const ImDrawIdx* idx = list.IdxBuffer.Data + cmd.IdxOffset;
      unsigned i = 0;
      while (i + 3 <= cmd.ElemCount) {
        if (i + 6 > cmd.ElemCount || !IsRectangle(idx + i, vtx)) {
          i += 3;
          continue;
        }
        const ImDrawVert* q = vtx + idx[i];
        i += 6;
        const bool solid = q[0].uv.x == whiteUv.x && q[0].uv.y == whiteUv.y &&
                           q[2].uv.x == whiteUv.x && q[2].uv.y == whiteUv.y;
        if (solid && q[0].col == q[1].col && q[0].col == q[2].col && q[0].col == q[3].col) {
          screen.rects.push_back({{q[0].pos, q[2].pos}, q[0].col});
          continue;
        }
        const auto glyph = glyphs.find({q[0].uv.x, q[0].uv.y, q[2].uv.x, q[2].uv.y});
        if (glyph != glyphs.end()) text.Add(*glyph->second, q);
      }
    }
    screen.vertices.insert(screen.vertices.end(), list.VtxBuffer.begin(), list.VtxBuffer.end());
  }
  return screen;
}

}  // namespace devhost
