// The call trace: every host operation a plugin calls, and every call of the host into a plugin,
// in order, as structured records.
//
// Host handles are values that carry only an address, so the wrappers cannot reach a host object
// to report to; the host therefore installs one process-wide sink, as the real host is one
// instance per process.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "host/value_types.h"
#include "sdk/sdk_export.h"

// Value equality for comparing records; the SDK's value types declare none of their own.
inline bool operator==(const Vector2& a, const Vector2& b) { return a.X == b.X && a.Y == b.Y; }
inline bool operator==(const Vector2F& a, const Vector2F& b) { return a.X == b.X && a.Y == b.Y; }
inline bool operator==(const LinearColor& a, const LinearColor& b) {
  return a.R == b.R && a.G == b.G && a.B == b.B && a.A == b.A;
}
inline bool operator==(const ControllerInput& a, const ControllerInput& b) {
  return a.Throttle == b.Throttle && a.Steer == b.Steer && a.Flags == b.Flags;
}
inline bool operator==(const RBState& a, const RBState& b) {
  return a.Quaternion.X == b.Quaternion.X && a.Quaternion.Y == b.Quaternion.Y &&
         a.Quaternion.Z == b.Quaternion.Z && a.Quaternion.W == b.Quaternion.W &&
         a.AngularVelocity.X == b.AngularVelocity.X && a.AngularVelocity.Y == b.AngularVelocity.Y &&
         a.AngularVelocity.Z == b.AngularVelocity.Z;
}

namespace devhost {

enum class Phase { Load, Frame, Settings, Hook, Unload, Host, Fault };

DEVHOST_SDK_API const char* PhaseName(Phase phase);

// A handle result naming a host object ("cvar:veyrant_x", "car:2", ...).
struct ObjectId {
  std::string id;
  bool operator==(const ObjectId&) const = default;
};
// A null handle result.
struct NullHandle {
  bool operator==(const NullHandle&) const = default;
};
// A callback argument.
struct Callback {
  bool operator==(const Callback&) const = default;
};

// Input and rigid-body results are written with only the fields plugins read.
using TraceValue =
    std::variant<bool, std::int64_t, float, std::string, Vector2, Vector2F, LinearColor, ObjectId,
                 NullHandle, Callback, ControllerInput, RBState>;

// A plugin's call into the host, or the host's side: a call into a plugin, its return, an event
// of the host's own (a module loaded or unloaded, a reload), or a plugin's fault, which ends its
// call without a return.
enum class RecordKind { PluginCall, HostCall, HostReturn, HostEvent, Fault };

struct TraceRecord {
  Phase phase = Phase::Host;
  std::optional<std::int64_t> frame;  // the rendered or UI frame's index
  std::string op;  // e.g. "CVarWrapper::setValue"; host records: "onLoad"; a fault: what it was
  std::optional<std::string> self;  // the handle's object id; host records: the plugin's name
  std::vector<TraceValue> args;     // a fault: the call it ended, then its places
  std::optional<TraceValue> result;
  RecordKind kind = RecordKind::PluginCall;
  // A plugin's call: the return address in the plugin of its call into the host.
  std::uintptr_t calledFrom = 0;
};

// Where the wrappers report. Phase and frame are set by the host around each call into a plugin.
class DEVHOST_SDK_API CallTrace {
 public:
  using Listener = std::function<void(const TraceRecord&)>;
  using ListenerId = std::size_t;

  void SetPhase(Phase phase, std::optional<std::int64_t> frame = std::nullopt);
  Phase CurrentPhase() const { return phase_; }
  std::optional<std::int64_t> CurrentFrame() const { return frame_; }
  // Wrappers test this before building a record, so an unobserved call costs one branch.
  bool Active() const { return !listeners_.empty(); }
  void Record(std::string op, std::optional<std::string> self, std::vector<TraceValue> args,
              std::optional<TraceValue> result, std::uintptr_t calledFrom);
  // The host's side; plugin is the plugin's name, none for a hook or drawable nobody owns.
  void RecordHost(RecordKind kind, std::string op, std::optional<std::string> plugin,
                  std::vector<TraceValue> args = {},
                  std::optional<TraceValue> result = std::nullopt);

  // In phase fault, with the frame in effect.
  void RecordFault(std::string fault, std::string plugin, std::string call,
                   const std::vector<std::string>& places);

  // Each listener is told every record from now on, in the order they began to listen.
  ListenerId Listen(Listener listener);
  void StopListening(ListenerId id);
  void StopAllListening() { listeners_.clear(); }

 private:
  void Append(RecordKind kind, std::string op, std::optional<std::string> self,
              std::vector<TraceValue> args, std::optional<TraceValue> result,
              std::uintptr_t calledFrom = 0);

  Phase phase_ = Phase::Host;
  std::optional<std::int64_t> frame_;
  std::vector<std::pair<ListenerId, Listener>> listeners_;
  ListenerId nextListener_ = 0;
};

DEVHOST_SDK_API CallTrace& ActiveTrace();

// Sets the phase for one call into a plugin and puts the previous one back afterwards.
class PhaseScope {
 public:
  PhaseScope(Phase phase, std::optional<std::int64_t> frame = std::nullopt)
      : previousPhase_(ActiveTrace().CurrentPhase()), previousFrame_(ActiveTrace().CurrentFrame()) {
    ActiveTrace().SetPhase(phase, frame);
  }
  ~PhaseScope() { ActiveTrace().SetPhase(previousPhase_, previousFrame_); }
  PhaseScope(const PhaseScope&) = delete;
  PhaseScope& operator=(const PhaseScope&) = delete;

 private:
  Phase previousPhase_;
  std::optional<std::int64_t> previousFrame_;
};

}  // namespace devhost
