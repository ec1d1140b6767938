// The records of the latest frame, and the plugin's calls among them, each with the canvas's
// position and colour in effect when it was made, as the trace tells them: what a pixel is
// explained from, in a run or in the window's inspector.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sdk/trace.h"

namespace devhost {

struct FrameCall {
  int index = 0;           // among the frame's calls of the plugin, from 0, in the trace's order
  std::size_t record = 0;  // in the frame's records
  Vector2 position;        // in effect for the call
  LinearColor colour;      // in effect for the call
};

class FrameCalls {
 public:
  // Listens to the trace until it is destroyed.
  explicit FrameCalls(CallTrace& trace);
  ~FrameCalls();
  FrameCalls(const FrameCalls&) = delete;
  FrameCalls& operator=(const FrameCalls&) = delete;

  // The frame the calls are of; none before the first.
  std::optional<std::int64_t> Frame() const { return frame_; }
  // Every record of the frame, the host's own too, as the trace has them.
  const std::vector<TraceRecord>& Records() const { return records_; }
  const std::vector<FrameCall>& Calls() const { return calls_; }
  const TraceRecord& RecordOf(const FrameCall& call) const { return records_[call.record]; }

 private:
  void Take(const TraceRecord& record);

  CallTrace& trace_;
  CallTrace::ListenerId listener_;
  std::optional<std::int64_t> frame_;
  std::vector<TraceRecord> records_;
  std::vector<FrameCall> calls_;
  Vector2 position_;  // the canvas's, as the calls so far set it
  LinearColor colour_;
};

}  // namespace devhost
