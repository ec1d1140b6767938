#include "sdk/cvar_store.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "sdk/caller.h"
#include "sdk/number_text.h"

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
  const std::string old = std::exchange(cvar.value, std::move(text));
  runHooks_(cvar, old);
}

void CvarStore::Set(Cvar& cvar, int value) { Set(cvar, std::to_string(value)); }

void CvarStore::Set(Cvar& cvar, float value) { Set(cvar, FloatText(value)); }

void CvarStore::AddHook(Cvar& cvar, CVarWrapper::ValueChanged fn) {
  cvar.hooks.push_back(std::make_shared<const CvarHook>(CvarHook{CurrentCaller(), std::move(fn)}));
}

CvarHooks CvarStore::TakeHooksOwnedBy(const PluginTag* owner) {
  CvarHooks taken;
  for (auto& cvar : cvars_) {
    const auto owned = [owner](const auto& hook) { return hook->owner == owner; };
    std::copy_if(cvar->hooks.begin(), cvar->hooks.end(), std::back_inserter(taken), owned);
    std::erase_if(cvar->hooks, owned);
  }
  return taken;
}

void CvarStore::Log(const std::string& text) {
  log_.push_back(text);
  if (log_.size() > kKeptLogLines) log_.pop_front();
  if (logSink_) logSink_(text);
}

}  // namespace devhost
