#include "sdk/cvar_store.h"

#include <algorithm>
#include <utility>

#include "sdk/caller.h"
#include "sdk/number_text.h"
#include "sdk/trace.h"

namespace devhost {

Cvar& CvarStore::Register(Cvar definition) {
  if (Cvar* existing = Find(definition.name)) return *existing;
  definition.id = "cvar:" + definition.name;
  definition.value = definition.defaultValue;
  definition.hooks.clear();
  definition.store = this;
  cvars_.push_back(std::make_unique<Cvar>(std::move(definition)));
  return *cvars_.back();
}

Cvar* CvarStore::Find(std::string_view name) {
  for (auto& cvar : cvars_)
    if (cvar->name == name) return cvar.get();
  return nullptr;
}

void CvarStore::Set(Cvar& cvar, std::string text) {
  std::string old = std::exchange(cvar.value, std::move(text));
  // By index and by copy: a hook may attach further hooks to this same variable.
  const std::size_t count = cvar.hooks.size();
  for (std::size_t i = 0; i < count; ++i) {
    CvarHook hook = cvar.hooks[i];
    PhaseScope phase(Phase::Hook);
    PluginCallScope call(hook.owner, "hook", {old, ObjectId{cvar.id}});
    hook.fn(old, CVarWrapper(AddressOf(cvar)));
  }
}

void CvarStore::Set(Cvar& cvar, int value) { Set(cvar, std::to_string(value)); }

void CvarStore::Set(Cvar& cvar, float value) { Set(cvar, FloatText(value)); }

void CvarStore::AddHook(Cvar& cvar, CVarWrapper::ValueChanged fn) {
  cvar.hooks.push_back({CurrentCaller(), std::move(fn)});
}

void CvarStore::RemoveHooksOwnedBy(const PluginTag* owner) {
  for (auto& cvar : cvars_)
    std::erase_if(cvar->hooks, [owner](const CvarHook& hook) { return hook.owner == owner; });
}

std::size_t CvarStore::HookCount() const {
  std::size_t count = 0;
  for (const auto& cvar : cvars_) count += cvar->hooks.size();
  return count;
}

void CvarStore::Log(const std::string& text) {
  log_.push_back(text);
  if (log_.size() > kKeptLogLines) log_.pop_front();
  if (logSink_) logSink_(text);
}

}  // namespace devhost
