// What every wrapper operation does first: find the model object its handle names, and report
// itself to the trace (only when someone listens). For the sdk's wrapper files alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sdk/canvas.h"
#include "sdk/cvar_store.h"
#include "sdk/game_model.h"
#include "sdk/trace.h"

namespace devhost::wrapper {

using devhost::ActiveTrace;
using devhost::ObjectAt;
using devhost::TraceValue;

inline std::optional<std::string> SelfId(std::uintptr_t address) {
  if (address == 0) return std::nullopt;
  return ObjectAt<ModelObject>(address)->id;
}

inline TraceValue HandleValue(std::uintptr_t address) {
  if (address == 0) return NullHandle{};
  return ObjectId{ObjectAt<ModelObject>(address)->id};
}

// Where in the plugin the wrapper was called from: the instruction after its call. Taken in the
// wrapper itself, which the plugin calls directly, and handed to the trace.
#define DEVHOST_CALLED_FROM reinterpret_cast<std::uintptr_t>(__builtin_return_address(0))

inline void Trace(std::uintptr_t from, const char* op, std::uintptr_t self,
                  std::vector<TraceValue> args, std::optional<TraceValue> result = std::nullopt) {
  ActiveTrace().Record(op, SelfId(self), std::move(args), std::move(result), from);
}

inline void TraceCanvas(std::uintptr_t from, const char* op, std::vector<TraceValue> args,
                        std::optional<TraceValue> result = std::nullopt) {
  ActiveTrace().Record(op, "canvas", std::move(args), std::move(result), from);
}

inline Cvar* CvarAt(std::uintptr_t address) { return ObjectAt<Cvar>(address); }
inline CvarStore* StoreAt(std::uintptr_t address) { return ObjectAt<CvarStore>(address); }
inline GameModel* GameAt(std::uintptr_t address) { return ObjectAt<GameModel>(address); }
inline CarState* CarAt(std::uintptr_t address) { return ObjectAt<CarState>(address); }
inline Canvas* CanvasAt(std::uintptr_t address) { return reinterpret_cast<Canvas*>(address); }

}  // namespace devhost::wrapper
