#include "ui/settings_driver.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "core/nearest_name.h"

namespace devhost {

namespace {

// Dear ImGui 1.86 insets a slider's grab this far from each end of its frame.
constexpr float kGrabPadding = 2.0f;

// The same pixel: where the layout places a thing, give or take its rounding to pixels.
bool WithinHalfPixel(float a, float b) { return std::fabs(a - b) < 0.5f; }

bool AnyOf(ImU32 color, std::initializer_list<ImU32> colors) {
  for (ImU32 c : colors)
    if (c == color) return true;
  return false;
}

// Digits after the decimal point of the number a value text starts with.
int DecimalsShown(const std::string& shown) {
  const auto point = shown.find('.');
  if (point == std::string::npos) return 0;
  int decimals = 0;
  for (std::size_t i = point + 1;
       i < shown.size() && std::isdigit(static_cast<unsigned char>(shown[i])); ++i)
    ++decimals;
  return decimals;
}

std::string Number(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

}  // namespace

SettingsDriver::SettingsDriver(SettingsWindow& window) : window_(window) {}

void SettingsDriver::RunFrame() {
  const ImDrawData* data = window_.RunFrame();
  ImGuiIO& io = window_.Ui().Input();
  const ImFont& font = *io.Fonts->Fonts[0];  // the host sets no other default
  screen_ = ReadScreen(*data, font, io.Fonts->TexUvWhitePixel);
  shown_ = true;

  const ImGuiStyle& style = ImGui::GetStyle();
  const auto frameColors = {ImGui::GetColorU32(ImGuiCol_FrameBg),
                            ImGui::GetColorU32(ImGuiCol_FrameBgHovered),
                            ImGui::GetColorU32(ImGuiCol_FrameBgActive)};
  const auto grabColors = {ImGui::GetColorU32(ImGuiCol_SliderGrab),
                           ImGui::GetColorU32(ImGuiCol_SliderGrabActive)};
  const ImU32 checkColor = ImGui::GetColorU32(ImGuiCol_CheckMark);

  widgets_.clear();
  for (const ScreenText& text : screen_.texts) {
    // A widget's label stands just right of its frame, on the frame's line.
    const ScreenRect* frame = nullptr;
    for (const ScreenRect& rect : screen_.rects) {
      if (!AnyOf(rect.color, frameColors)) continue;
      if (rect.box.Contains(text.box)) {
        frame = nullptr;  // text inside a frame is a value, not a label
        break;
      }
      if (WithinHalfPixel(rect.box.max.x + style.ItemInnerSpacing.x, text.box.min.x) &&
          rect.box.min.y <= text.box.min.y && rect.box.max.y >= text.box.max.y)
        frame = &rect;
    }
    if (frame == nullptr) continue;
    SettingsWidget widget;
    widget.label = text.text;
    widget.frame = frame->box;
    widget.kind = WithinHalfPixel(frame->box.Width(), frame->box.Height())
                      ? SettingsWidget::Kind::CheckBox
                      : SettingsWidget::Kind::Slider;
    widget.checked = screen_.ShowsColorIn(frame->box, checkColor);
    for (const ScreenRect& rect : screen_.rects)
      if (AnyOf(rect.color, grabColors) && frame->box.Contains(rect.box)) widget.grab = rect.box;
    for (const ScreenText& inside : screen_.texts)
      if (frame->box.Contains(inside.box)) widget.shown += inside.text;
    widgets_.push_back(std::move(widget));
  }
}

void SettingsDriver::EnsureShown() {
  if (!shown_) RunFrame();
}

const std::vector<SettingsWidget>& SettingsDriver::Widgets() {
  EnsureShown();
  return widgets_;
}

SettingsWidget SettingsDriver::Find(const std::string& label) {
  EnsureShown();
  for (const SettingsWidget& widget : widgets_)
    if (widget.label == label) return widget;
  std::string found;
  std::vector<std::string> labels;
  for (const SettingsWidget& widget : widgets_) {
    found += (found.empty() ? "" : ", ") + Quoted(widget.label);
    labels.push_back(widget.label);
  }
  throw DriverError("no widget labelled " + Quoted(label) +
                    " on the settings page; labels found: " + (found.empty() ? "none" : found) +
                    DidYouMean(label, labels, Quoted));
}

SettingsWidget SettingsDriver::Slider(const std::string& label) {
  SettingsWidget widget = Find(label);
  if (widget.kind != SettingsWidget::Kind::Slider)
    throw DriverError(Quoted(label) + " is a check box, not a slider");
  if (!widget.grab) throw DriverError(Quoted(label) + ": no slider grab is shown");
  return widget;
}

std::pair<float, float> SettingsDriver::Travel(const SettingsWidget& slider) {
  const float half = slider.grab->Width() / 2;
  return {slider.frame.min.x + kGrabPadding + half, slider.frame.max.x - kGrabPadding - half};
}

double SettingsDriver::ShownNumber(const std::string& label) {
  const std::string shown = Find(label).shown;
  char* end = nullptr;
  const double value = std::strtod(shown.c_str(), &end);
  if (end == shown.c_str())
    throw DriverError(Quoted(label) + ": expected the slider to show a number, it shows " +
                      Quoted(shown));
  return value;
}

void SettingsDriver::MoveTo(ImVec2 at) {
  window_.Ui().Input().MousePos = at;
  RunFrame();
}

void SettingsDriver::Press(ImVec2 at) {
  ImGuiIO& io = window_.Ui().Input();
  io.MousePos = at;
  io.MouseDown[0] = true;
  RunFrame();
}

void SettingsDriver::Release() {
  window_.Ui().Input().MouseDown[0] = false;
  RunFrame();
}

void SettingsDriver::Click(const std::string& label) {
  Press(Find(label).frame.Center());
  Release();
}

void SettingsDriver::DragToValue(const std::string& label, double value) {
  const SettingsWidget slider = Slider(label);
  const auto [start, end] = Travel(slider);
  const float y = slider.frame.Center().y;
  auto moveTo = [this, y](float x) { MoveTo(ImVec2(x, y)); };
  Press(ImVec2(slider.grab->Center().x, y));
  // Past each end, so the slider stops exactly at it.
  moveTo(start - 1);
  const double low = ShownNumber(label);
  moveTo(end + 1);
  const double high = ShownNumber(label);
  if (value < std::min(low, high) || value > std::max(low, high) || low == high) {
    window_.Ui().Input().MouseDown[0] = false;
    throw DriverError(Quoted(label) + ": cannot drag to " + Number(value) +
                      ", the slider runs from " + Number(low) + " to " + Number(high));
  }
  // The library floors the mouse to whole pixels; take the pixel nearest the value.
  const double t = (value - low) / (high - low);
  moveTo(std::round(start + static_cast<float>(t) * (end - start)));
  Release();

  // The slider rounds to its display format; allow half a unit of the last digit it shows.
  const std::string shown = Find(label).shown;
  const double got = ShownNumber(label);
  const int decimals = DecimalsShown(shown);
  if (std::fabs(got - value) > 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9))
    throw DriverError(Quoted(label) + ": dragged to " + Number(value) + " but it shows " +
                      Quoted(shown));
}

void SettingsDriver::Type(const std::string& label, const std::string& text) {
  const ImVec2 at = Slider(label).frame.Center();
  ImGuiIO& io = window_.Ui().Input();
  io.KeyCtrl = true;
  Press(at);
  const ImGuiContext& g = *window_.Ui().Context();
  if (g.ActiveId == 0 || g.TempInputId != g.ActiveId) {
    io.KeyCtrl = false;
    io.MouseDown[0] = false;
    throw DriverError(Quoted(label) + ": Ctrl+click did not open the slider's text entry");
  }
  io.MouseDown[0] = false;
  io.KeysDown[ImGuiKey_A] = true;
  RunFrame();
  io.KeysDown[ImGuiKey_A] = false;
  io.KeyCtrl = false;
  io.AddInputCharactersUTF8(text.c_str());
  io.KeysDown[ImGuiKey_Enter] = true;
  RunFrame();
  io.KeysDown[ImGuiKey_Enter] = false;
  RunFrame();
}

}  // namespace devhost
