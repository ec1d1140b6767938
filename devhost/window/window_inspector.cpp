#include "window/window_inspector.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/trace_json.h"
#include "system/atomic_file.h"
#include "window/console_window.h"

namespace devhost {

namespace {

constexpr ImU32 kOutline = IM_COL32(255, 230, 0, 255);
constexpr float kMargin = 20, kHeight = 150;

}  // namespace

WindowInspector::WindowInspector(Host& host, ConsoleLog& log)
    : host_(host), log_(log), calls_(host.Trace()) {}

bool WindowInspector::Toggle() {
  on_ = !on_;
  shown_.reset();
  log_.Add(LogLine::Kind::Output,
           on_ ? "inspect: click a pixel of the canvas to see what drew it" : "inspect: off");
  return on_;
}

void WindowInspector::Draw(Vector2 windowSize) {
  if (!on_) return;
  const ImGuiIO& io = ImGui::GetIO();
  if (ImGui::IsMouseClicked(0) && !io.WantCaptureMouse) {
    const int x = static_cast<int>(std::floor(io.MousePos.x)),
              y = static_cast<int>(std::floor(io.MousePos.y));
    if (x >= 0 && y >= 0 && x < windowSize.X && y < windowSize.Y) clicked_ = Vector2{x, y};
  }
  if (!shown_) return;
  // Low on the left, above the console: clear of the panel at its default place and of the
  // settings window on the right.
  const float width = std::min(720.0f, static_cast<float>(windowSize.X) - 2 * kMargin);
  const float top = static_cast<float>(windowSize.Y) - ConsoleWindow::kHeight - kHeight - kMargin;
  ImGui::SetNextWindowPos(ImVec2(kMargin, std::max(kMargin, top)), ImGuiCond_Once);
  ImGui::SetNextWindowSize(ImVec2(width, kHeight), ImGuiCond_Once);
  ImGui::Begin("Inspector", nullptr, ImGuiWindowFlags_NoSavedSettings);
  ImGui::TextUnformatted(shown_->pixel.c_str());
  if (shown_->calls.empty()) ImGui::TextDisabled("no call of the plugin drew over it");
  for (int i = 0; i < static_cast<int>(shown_->calls.size()); ++i)
    if (ImGui::Selectable(shown_->calls[static_cast<std::size_t>(i)].text.c_str(), i == picked_))
      picked_ = i;
  ImGui::End();
  // Not over the pixel about to be read.
  if (clicked_ || picked_ >= static_cast<int>(shown_->calls.size())) return;
  const PixelRect& area = shown_->calls[static_cast<std::size_t>(picked_)].area;
  ImGui::GetForegroundDrawList()->AddRect(
      ImVec2(static_cast<float>(area.x) - 1, static_cast<float>(area.y) - 1),
      ImVec2(static_cast<float>(area.x + area.width) + 1,
             static_cast<float>(area.y + area.height) + 1),
      kOutline);
}

void WindowInspector::Explain(DisplayWindow& window, PaintingCanvas& canvas, long long sceneFrame) {
  if (!clicked_) return;
  const Vector2 pixel = *std::exchange(clicked_, std::nullopt);
  shown_ = ExplainPixel(calls_, sceneFrame, window.Capture(), pixel.X, pixel.Y, canvas,
                        host_.Door().Symbols());
  picked_ = 0;
  log_.Add(LogLine::Kind::Output, shown_->Text());
}

void WindowInspector::WriteTrace(const std::string& path) const {
  std::string text;
  for (const TraceRecord& record : calls_.Records()) {
    const bool placed = record.kind == RecordKind::PluginCall;
    AppendTraceLine(text, record,
                    placed ? std::string_view(host_.Door().Symbols().CallSite(record.calledFrom))
                           : std::string_view());
  }
  try {
    WriteFileAtomically(path, text);
  } catch (const std::runtime_error& e) {
    throw ConsoleError(std::string("trace: ") + e.what());
  }
  log_.Add(LogLine::Kind::Output,
           "wrote " + path + ", the " + std::to_string(calls_.Records().size()) +
               " records of frame " + std::to_string(calls_.Frame().value_or(0)));
}

}  // namespace devhost
