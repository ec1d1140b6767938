// Every record the trace tells from now on, kept in memory for a test to read back, and the
// plugin's canvas calls among them with the position and colour in effect.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "sdk/trace.h"

namespace veyrant_test {

struct CanvasCall {
  enum class Kind { GetSize, SetPosition, SetColor, DrawBox, FillBox, DrawString, GetStringSize };
  Kind kind;
  Vector2 position;    // in effect after the call
  LinearColor colour;  // in effect after the call
  Vector2 size;        // DrawBox, FillBox
  std::string text;    // DrawString, GetStringSize
  float xScale = 0, yScale = 0;
};

class KeptRecords {
 public:
  explicit KeptRecords(devhost::CallTrace& trace)
      : trace_(trace),
        listener_(trace.Listen([this](const devhost::TraceRecord& r) { Take(r); })) {}
  ~KeptRecords() { trace_.StopListening(listener_); }
  KeptRecords(const KeptRecords&) = delete;
  KeptRecords& operator=(const KeptRecords&) = delete;

  const std::vector<devhost::TraceRecord>& All() const { return records_; }
  const std::vector<CanvasCall>& CanvasCalls() const { return canvasCalls_; }
  // Forgets the records and canvas calls so far; the canvas keeps its position and colour.
  void Clear() {
    records_.clear();
    canvasCalls_.clear();
  }

 private:
  void Take(const devhost::TraceRecord& record) {
    records_.push_back(record);
    if (record.kind != devhost::RecordKind::PluginCall) return;
    static constexpr struct {
      const char* op;
      CanvasCall::Kind kind;
    } kCanvasOps[] = {{"CanvasWrapper::GetSize", CanvasCall::Kind::GetSize},
                      {"CanvasWrapper::SetPosition", CanvasCall::Kind::SetPosition},
                      {"CanvasWrapper::SetColor", CanvasCall::Kind::SetColor},
                      {"CanvasWrapper::DrawBox", CanvasCall::Kind::DrawBox},
                      {"CanvasWrapper::FillBox", CanvasCall::Kind::FillBox},
                      {"CanvasWrapper::DrawString", CanvasCall::Kind::DrawString},
                      {"CanvasWrapper::GetStringSize", CanvasCall::Kind::GetStringSize}};
    for (const auto& [op, kind] : kCanvasOps) {
      if (record.op != op) continue;
      CanvasCall call{kind, position_, colour_, {}, {}};
      const auto& args = record.args;
      if (kind == CanvasCall::Kind::SetPosition) call.position = position_ = Get<Vector2>(args, 0);
      if (kind == CanvasCall::Kind::SetColor) call.colour = colour_ = Get<LinearColor>(args, 0);
      if (kind == CanvasCall::Kind::DrawBox || kind == CanvasCall::Kind::FillBox)
        call.size = Get<Vector2>(args, 0);
      if (kind == CanvasCall::Kind::DrawString || kind == CanvasCall::Kind::GetStringSize) {
        call.text = Get<std::string>(args, 0);
        call.xScale = Get<float>(args, 1);
        call.yScale = Get<float>(args, 2);
      }
      canvasCalls_.push_back(call);
    }
  }
  template <typename T>
  static T Get(const std::vector<devhost::TraceValue>& args, std::size_t i) {
    return i < args.size() && std::holds_alternative<T>(args[i]) ? std::get<T>(args[i]) : T{};
  }

  devhost::CallTrace& trace_;
  devhost::CallTrace::ListenerId listener_;
  std::vector<devhost::TraceRecord> records_;
  std::vector<CanvasCall> canvasCalls_;
  Vector2 position_;
  LinearColor colour_;
};

}  // namespace veyrant_test
