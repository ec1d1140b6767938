#include "sdk/trace.h"

#include <utility>
#include <vector>

namespace devhost {

const char* PhaseName(Phase phase) {
  switch (phase) {
    case Phase::Load:
      return "load";
    case Phase::Frame:
      return "frame";
    case Phase::Settings:
      return "settings";
    case Phase::Hook:
      return "hook";
    case Phase::Unload:
      return "unload";
    case Phase::Host:
      return "host";
    case Phase::Fault:
      return "fault";
  }
  return "host";
}

void CallTrace::SetPhase(Phase phase, std::optional<std::int64_t> frame) {
  phase_ = phase;
  frame_ = frame;
}

void CallTrace::Record(std::string op, std::optional<std::string> self,
                       std::vector<TraceValue> args, std::optional<TraceValue> result,
                       std::uintptr_t calledFrom) {
  Append(RecordKind::PluginCall, std::move(op), std::move(self), std::move(args), std::move(result),
         calledFrom);
}

void CallTrace::RecordHost(RecordKind kind, std::string op, std::optional<std::string> plugin,
                           std::vector<TraceValue> args, std::optional<TraceValue> result) {
  Append(kind, std::move(op), std::move(plugin), std::move(args), std::move(result));
}

void CallTrace::RecordFault(std::string fault, std::string plugin, std::string call,
                            const std::vector<std::string>& places) {
  std::vector<TraceValue> args{std::move(call)};
  args.insert(args.end(), places.begin(), places.end());
  const Phase phase = std::exchange(phase_, Phase::Fault);
  Append(RecordKind::Fault, std::move(fault), std::move(plugin), std::move(args), std::nullopt);
  phase_ = phase;
}

void CallTrace::Append(RecordKind kind, std::string op, std::optional<std::string> self,
                       std::vector<TraceValue> args, std::optional<TraceValue> result,
                       std::uintptr_t calledFrom) {
  if (!Active()) return;
  const TraceRecord record{
      phase_, frame_,    std::move(op), std::move(self), std::move(args), std::move(result),
      kind,   calledFrom};
  for (const auto& [id, listener] : listeners_) listener(record);
}

CallTrace::ListenerId CallTrace::Listen(Listener listener) {
  listeners_.emplace_back(++nextListener_, std::move(listener));
  return nextListener_;
}

void CallTrace::StopListening(ListenerId id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

CallTrace& ActiveTrace() {
  static CallTrace trace;
  return trace;
}

}  // namespace devhost
