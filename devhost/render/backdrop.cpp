#include "render/backdrop.h"

#include <imgui.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "sdk/game_model.h"

namespace devhost {

namespace {

// The field in world units: its length runs along world y, drawn left to right.
constexpr float kFieldLength = 10240, kFieldWidth = 8192;
constexpr float kGoalWidth = 1786, kGoalDepth = 880, kCentreCircle = 1000;
constexpr float kCarLength = 118, kCarWidth = 84;

constexpr std::array<ImU32, 8> kCarColours = {
    IM_COL32(60, 120, 255, 255), IM_COL32(255, 140, 40, 255), IM_COL32(90, 200, 255, 255),
    IM_COL32(255, 200, 60, 255), IM_COL32(120, 90, 255, 255), IM_COL32(255, 90, 70, 255),
    IM_COL32(60, 220, 170, 255), IM_COL32(240, 110, 200, 255)};

// World (x, y) to canvas pixels: world y to the right, world x upwards.
struct FieldView {
  ImVec2 centre;
  float pixelsPerUnit;
  ImVec2 At(float worldX, float worldY) const {
    return {centre.x + worldY * pixelsPerUnit, centre.y - worldX * pixelsPerUnit};
  }
};

FieldView FitField(Vector2 size) {
  const float w = static_cast<float>(size.X), h = static_cast<float>(size.Y);
  const float margin = std::min(w, h) * 0.06f;
  const float ppu =
      std::min((w - 2 * margin) / (kFieldLength + 2 * kGoalDepth), (h - 2 * margin) / kFieldWidth);
  return {ImVec2(w * 0.5f, h * 0.5f), std::max(ppu, 0.0f)};
}

void DrawFieldIn(ImDrawList& list, const FieldView& view, Vector2 size) {
  constexpr int kStripes = 10;
  const float halfLength = kFieldLength / 2, halfWidth = kFieldWidth / 2;
  // The surround in four bands that leave out the field: a software rasteriser pays for every
  // pixel painted twice.
  const ImVec2 fieldMin = view.At(halfWidth, -halfLength),
               fieldMax = view.At(-halfWidth, halfLength);
  const float w = static_cast<float>(size.X), h = static_cast<float>(size.Y);
  const ImU32 surround = IM_COL32(22, 38, 30, 255);
  list.AddRectFilled(ImVec2(0, 0), ImVec2(w, fieldMin.y), surround);
  list.AddRectFilled(ImVec2(0, fieldMax.y), ImVec2(w, h), surround);
  list.AddRectFilled(ImVec2(0, fieldMin.y), ImVec2(fieldMin.x, fieldMax.y), surround);
  list.AddRectFilled(ImVec2(fieldMax.x, fieldMin.y), ImVec2(w, fieldMax.y), surround);
  for (int i = 0; i < kStripes; ++i) {
    const float y0 = -halfLength + kFieldLength * static_cast<float>(i) / kStripes;
    const float y1 = y0 + kFieldLength / kStripes;
    list.AddRectFilled(view.At(halfWidth, y0), view.At(-halfWidth, y1),
                       i % 2 == 0 ? IM_COL32(46, 104, 58, 255) : IM_COL32(52, 114, 64, 255));
  }
  const ImU32 line = IM_COL32(230, 240, 230, 150);
  const float thickness = std::max(1.0f, view.pixelsPerUnit * 30);
  list.AddRect(view.At(halfWidth, -halfLength), view.At(-halfWidth, halfLength), line, 0, 0,
               thickness);
  list.AddLine(view.At(halfWidth, 0), view.At(-halfWidth, 0), line, thickness);
  list.AddCircle(view.At(0, 0), kCentreCircle * view.pixelsPerUnit, line, 48, thickness);
  for (const float end : {-1.0f, 1.0f}) {
    const ImVec2 a = view.At(kGoalWidth / 2, end * halfLength);
    const ImVec2 b = view.At(-kGoalWidth / 2, end * (halfLength + kGoalDepth));
    list.AddRectFilled(ImVec2(std::min(a.x, b.x), a.y), ImVec2(std::max(a.x, b.x), b.y),
                       end < 0 ? IM_COL32(40, 80, 170, 200) : IM_COL32(190, 110, 40, 200));
  }
}

// A car as a box turned the way its nose points, raised by its height over a shadow.
void DrawCar(ImDrawList& list, const ImFont& font, const FieldView& view, const CarState& car,
             ImU32 colour, bool followed) {
  const Quat& q = car.rb.Quaternion;
  // The nose: the first column of the rotation, projected onto the ground.
  float fx = 1 - 2 * (q.Y * q.Y + q.Z * q.Z), fy = 2 * (q.X * q.Y + q.Z * q.W);
  const float length = std::hypot(fx, fy);
  if (length < 1e-3f) {
    fx = 1;
    fy = 0;
  } else {
    fx /= length;
    fy /= length;
  }
  // Cars stay large enough to see on a small canvas.
  const float scale = std::max(view.pixelsPerUnit * 1.6f, 18.0f / kCarLength);
  const ImVec2 ground = view.At(car.position.X, car.position.Y);
  const ImVec2 centre(ground.x, ground.y - std::max(car.position.Z - 17, 0.0f) * scale * 0.5f);
  // In canvas pixels: world x is up (-y), world y is right (+x).
  const ImVec2 nose(fy * scale, -fx * scale), side(-nose.y, nose.x);
  const auto corner = [&](ImVec2 c, float along, float across) {
    return ImVec2(c.x + nose.x * along + side.x * across, c.y + nose.y * along + side.y * across);
  };
  const float l = kCarLength / 2, w = kCarWidth / 2;
  const auto body = [&](ImVec2 c, ImU32 fill) {
    list.AddQuadFilled(corner(c, l, -w), corner(c, l, w), corner(c, -l, w), corner(c, -l, -w),
                       fill);
  };
  body(ground, IM_COL32(0, 0, 0, 90));
  if (followed) list.AddCircle(centre, kCarLength * scale, IM_COL32(255, 255, 255, 200), 24, 2);
  body(centre, colour);
  list.AddTriangleFilled(corner(centre, l, 0), corner(centre, l * 0.2f, -w * 0.7f),
                         corner(centre, l * 0.2f, w * 0.7f), IM_COL32(255, 255, 255, 220));

  const char* name = car.ownerName.empty() ? "(no name)" : car.ownerName.c_str();
  const float textSize = font.FontSize;
  const ImVec2 extent = font.CalcTextSizeA(textSize, 1e9f, 0, name);
  const ImVec2 at(std::floor(centre.x - extent.x / 2),
                  std::floor(centre.y - kCarLength * scale - extent.y - 2));
  list.AddText(&font, textSize, ImVec2(at.x + 1, at.y + 1), IM_COL32(0, 0, 0, 200), name);
  list.AddText(&font, textSize, at, IM_COL32(240, 240, 240, 255), name);
}

}  // namespace

void DrawField(ImDrawList& list, Vector2 size) { DrawFieldIn(list, FitField(size), size); }

void DrawCars(ImDrawList& list, const ImFont& font, const GameModel& model, Vector2 size) {
  const FieldView view = FitField(size);
  if (!model.gameStatePresent) return;
  const auto& slots = model.carArray.slots;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const CarState* car = slots[i];
    if (car == nullptr) continue;
    const bool followed = model.cameraPresent && model.camera.viewTarget == AddressOf(*car);
    DrawCar(list, font, view, *car, kCarColours[i % kCarColours.size()], followed);
  }
}

}  // namespace devhost
