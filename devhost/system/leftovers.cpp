#include "system/leftovers.h"

#include <cerrno>
#include <filesystem>
#include <limits>
#include <optional>

#include "system/atomic_file.h"
#include "system/folder_of.h"
#include "system/process.h"

namespace devhost {

namespace {

// Native names: another file's name need not convert to a narrow string on Windows.
using Name = std::filesystem::path::string_type;

Name Native(const std::string& text) { return std::filesystem::path(text).native(); }

// The process id in name after prefix: one to ten digits (every id fits, and no more overflow),
// up to the end of the name or to stop.
std::optional<long long> IdAfter(const Name& name, const Name& prefix, Name::value_type stop = 0) {
  if (name.compare(0, prefix.size(), prefix) != 0) return {};
  long long pid = 0;
  std::size_t digits = 0, at = prefix.size();
  for (; at < name.size() && name[at] != stop; ++at, ++digits) {
    if (name[at] < '0' || name[at] > '9' || digits == 10) return {};
    pid = pid * 10 + (name[at] - '0');
  }
  if (digits == 0 || (stop != 0 && at == name.size())) return {};
  return pid;
}

template <typename OwnerOf>
void RemoveLeftovers(const std::filesystem::path& folder, bool folders, OwnerOf ownerOf) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::optional<long long> owner = ownerOf(it->path().filename().native());
    // Best effort: what is left now goes at a later run.
    std::error_code ignored;
    const bool kind = folders ? it->is_directory(ignored) && !it->is_symlink(ignored)
                              : it->is_regular_file(ignored);
    if (owner && kind && !ProcessRunning(*owner)) std::filesystem::remove_all(it->path(), ignored);
  }
}

const char kModuleCopyPrefix[] = "pryndal-devhost-";

}  // namespace

void RemoveLeftoverTemporaries(const std::string& path) {
  const std::filesystem::path start(TemporaryPrefixFor(path));
  const Name prefix = start.filename().native();
  RemoveLeftovers(FolderOf(start), false,
                  [&prefix](const Name& name) { return IdAfter(name, prefix); });
}

void RemoveLeftoverFrames(const std::string& folder) {
  const Name prefix = Native("frame-"), extension = Native(".png.tmp.");
  RemoveLeftovers(folder, false, [&](const Name& name) -> std::optional<long long> {
    // frame-, the frame's number, then the temporary name's end.
    const auto number = IdAfter(name, prefix, '.');
    if (!number) return {};
    const std::size_t at = name.find(extension[0], prefix.size());
    return IdAfter(name.substr(at), extension);
  });
}

void RemoveLeftoverModuleCopies() {
  std::error_code ec;
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
  if (ec) return;
  const Name prefix = Native(kModuleCopyPrefix);
  RemoveLeftovers(temporary, true,
                  [&prefix](const Name& name) { return IdAfter(name, prefix, '-'); });
}

std::string ModuleCopyFolderName(unsigned count) {
  return kModuleCopyPrefix + std::to_string(ProcessId()) + "-" + std::to_string(count);
}

}  // namespace devhost
