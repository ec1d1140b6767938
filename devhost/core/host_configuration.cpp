// The host's saved configuration: restored at the start of a run, written back at its end.
#include <filesystem>

#include "core/host.h"
#include "system/atomic_file.h"
#include "system/folder_lock.h"
#include "system/folder_of.h"
#include "system/leftovers.h"
#include "system/stop_request.h"

namespace devhost {

namespace {

// "the changes to a, b are not saved", for the variables the run changed.
std::string NotSaved(const std::vector<SavedValue>& values) {
  std::string names;
  for (const auto& value : values)
    if (value.changed) names += (names.empty() ? "" : ", ") + value.name;
  return names.empty() ? names : "; the changes to " + names + " are not saved";
}

}  // namespace

std::vector<std::string> Host::RestoreConfig(const std::string& path) {
  const ConfigReadResult read = ReadConfigFile(path);
  configPath_ = path;
  configWritable_ = read.readable;
  restoreProblem_ = read.readable ? "" : read.problems.front();
  const auto noteValues = [this] {
    valuesAtRestore_.clear();
    for (const auto& cvar : store_.All()) valuesAtRestore_[cvar->name] = cvar->value;
  };
  try {
    // Another plugin's values stay in the file for its next load.
    for (const auto& line : read.lines)
      if (Cvar* cvar = store_.Find(line.name); cvar && line.kind == ConfigLine::Kind::Entry)
        store_.Set(*cvar, line.value);
  } catch (...) {
    noteValues();  // a plugin's hook faulted: what was restored so far is the file's
    throw;
  }
  noteValues();
  return read.problems;
}

void Host::SaveConfig() {
  if (!configPath_) return;
  std::vector<SavedValue> values;
  for (const auto& cvar : store_.All()) {
    if (!cvar->saved) continue;
    // One registered after the restore started from its default.
    const auto start = valuesAtRestore_.find(cvar->name);
    const bool changed =
        cvar->value != (start != valuesAtRestore_.end() ? start->second : cvar->defaultValue);
    values.push_back({cvar->name, cvar->value, changed});
  }
  const std::string notSaved = NotSaved(values);
  if (!configWritable_) {
    // Reported at the restore; a run that changed nothing lost nothing.
    if (!notSaved.empty()) throw std::runtime_error(restoreProblem_ + notSaved);
    return;
  }
  try {
    // Held across reading again and writing, so that two hosts saving at once both keep their
    // changes.
    const std::filesystem::path file(FollowLinks(*configPath_));
    const FolderLock lock(FolderOf(file).string());
    // Read again, so that what a person wrote into it while the host ran stays too. Its problems
    // were reported at the restore.
    const ConfigReadResult now = ReadConfigFile(*configPath_);
    if (!now.readable) throw std::runtime_error(now.problems.front());
    WriteFileAtomically(*configPath_, WriteBackConfig(now.lines, std::move(values)));
  } catch (const Stopped&) {
    throw;
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(e.what() + notSaved);
  }
  RemoveLeftoverTemporaries(*configPath_);
}

}  // namespace devhost
