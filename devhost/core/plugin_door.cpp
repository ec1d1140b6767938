#include "core/plugin_door.h"

#include <cstring>

#include "sdk/caller.h"
#include "system/host_errors.h"
#include "system/stop_request.h"

namespace devhost {

namespace {

// What a retired plugin handed the host, held until the process ends: letting go of it would run
// the plugin's code. Reachable from here, so that no leak checker calls it lost.
std::vector<std::shared_ptr<const void>>& KeptForever() {
  static auto* kept = new std::vector<std::shared_ptr<const void>>();
  return *kept;
}

template <typename T>
void KeepForever(T held) {
  KeptForever().push_back(std::make_shared<const T>(std::move(held)));
}

// "Veyrant::RenderOverlay(CanvasWrapper)" -> "RenderOverlay": the last name outside every
// bracket, its parameters left off.
std::string ShortName(const std::string& function) {
  std::size_t end = function.size();
  if (end > 0 && function[end - 1] == ')') {
    for (int depth = 0; end-- > 0;) {
      depth += function[end] == ')' ? 1 : function[end] == '(' ? -1 : 0;
      if (depth == 0) break;
    }
  }
  std::size_t begin = 0;
  int depth = 0;
  for (std::size_t i = 0; i + 1 < end; ++i) {
    const char c = function[i];
    depth += c == '(' || c == '<' ? 1 : c == ')' || c == '>' ? -1 : 0;
    if (depth == 0 && c == ':' && function[i + 1] == ':') begin = i + 2;
  }
  return function.substr(begin, end - begin);
}

// A drawable is named by the plugin's own function it runs, outside the function object's
// machinery and the lambda that wraps it.
std::string DrawableName(const std::vector<SourcePlace>& places) {
  for (auto place = places.rbegin(); place != places.rend(); ++place)
    if (place->ownSource && !place->function.empty() &&
        place->function.find("{lambda") == std::string::npos &&
        ShortName(place->function) != "operator")
      return ShortName(place->function);
  return "its drawable";
}

std::string CallName(const CaughtFault& fault, const std::vector<SourcePlace>& places) {
  if (std::strcmp(fault.op, "drawable") == 0) return DrawableName(places);
  if (std::strcmp(fault.op, "hook") == 0 && fault.detail != nullptr)
    return "the change hook of " + static_cast<const Cvar*>(fault.detail)->name;
  return fault.op;
}

}  // namespace

std::string PluginFaultReport::Message() const {
  std::string text = plugin + " faulted in " + call + ": " + fault + "\n";
  for (const auto& place : places) text += "  " + place + "\n";
  return text;
}

PluginDoor::PluginDoor(CvarStore& store, GameModel& model) : store_(store), model_(model) {
  GuardPluginCalls();
}

PluginDoor::FaultListener PluginDoor::SetFaultListener(FaultListener listener) {
  return std::exchange(listener_, std::move(listener));
}

bool PluginDoor::Call(LoadedPlugin* plugin, PluginCall& call, GuardedCall body, void* context) {
  if (plugin != nullptr && plugin->faulted) return false;
  CallTrace& trace = ActiveTrace();
  const std::optional<std::string> name =
      plugin != nullptr ? std::optional<std::string>(plugin->name) : std::nullopt;
  if (call.traced && trace.Active())
    trace.RecordHost(RecordKind::HostCall, call.op, name, std::move(call.args));
  // A fault leaves the calls inside this one without their scopes ending: put back what they set.
  PluginTag* const caller = CurrentCaller();
  const Phase phase = trace.CurrentPhase();
  const std::optional<std::int64_t> frame = trace.CurrentFrame();
  CurrentCaller() = plugin;
  std::optional<CaughtFault> fault;
  if (plugin != nullptr) {
    fault = RunGuarded(plugin, call.op, call.cvar, body, context);
  } else {
    body(context);
  }
  CurrentCaller() = caller;
  if (!fault) {
    if (call.traced && trace.Active())
      trace.RecordHost(RecordKind::HostReturn, call.op, name, {}, std::move(call.result));
    return true;
  }
  trace.SetPhase(phase, frame);
  Faulted(*plugin, *fault);
  return false;
}

void PluginDoor::Faulted(LoadedPlugin& plugin, const CaughtFault& fault) {
  std::vector<SourcePlace> places;
  for (std::size_t i = 0; i < fault.stack.size(); ++i) {
    // A return address names the instruction after the call.
    const std::uintptr_t address = fault.stack[i] - (i == 0 && fault.firstExact ? 0 : 1);
    if (!plugin.code.Contains(address)) continue;
    const auto& found = symbols_.PlacesOf(address);
    places.insert(places.end(), found.begin(), found.end());
  }
  PluginFaultReport report{plugin.name, CallName(fault, places), DescribeFault(fault), {}};
  for (std::size_t i = 0; i < places.size() && i < kPlacesShown; ++i)
    report.places.push_back(PlaceText(places[i]));
  if (ActiveTrace().Active())
    ActiveTrace().RecordFault(report.fault, report.plugin, report.call, report.places);
  Retire(plugin);
  if (listener_) listener_(report);
  if (GuardedDepth() > 0) return;  // another plugin's call goes on around this one
  if (fault.kind == CaughtFault::Kind::Stop) throw Stopped(fault.signal);
  if (!keepRunning_) throw PluginFaulted(report.Message());
}

void PluginDoor::Retire(LoadedPlugin& plugin) {
  plugin.faulted = true;
  KeepForever(store_.TakeHooksOwnedBy(&plugin));
  KeepForever(model_.TakeDrawablesOwnedBy(&plugin));
  KeepForever(std::move(plugin.instance));
  plugin.settings = nullptr;
}

}  // namespace devhost
