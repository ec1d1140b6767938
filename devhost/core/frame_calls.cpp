#include "core/frame_calls.h"

#include <variant>

namespace devhost {

FrameCalls::FrameCalls(CallTrace& trace)
    : trace_(trace), listener_(trace.Listen([this](const TraceRecord& r) { Take(r); })) {}

FrameCalls::~FrameCalls() { trace_.StopListening(listener_); }

void FrameCalls::Take(const TraceRecord& record) {
  // A frame begins with the host's call of its first drawable.
  if (record.phase == Phase::Frame && record.frame != frame_) {
    frame_ = record.frame;
    records_.clear();
    calls_.clear();
  }
  if (record.phase == Phase::Frame) records_.push_back(record);
  if (record.kind != RecordKind::PluginCall) return;
  if (record.op == "CanvasWrapper::SetPosition" && !record.args.empty())
    position_ = std::get<Vector2>(record.args.front());
  if (record.op == "CanvasWrapper::SetColor" && !record.args.empty())
    colour_ = std::get<LinearColor>(record.args.front());
  if (record.phase == Phase::Frame)
    calls_.push_back({static_cast<int>(calls_.size()), records_.size() - 1, position_, colour_});
}

}  // namespace devhost
