#include "window/console_history.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <utility>

#include "system/atomic_file.h"
#include "system/folder_lock.h"
#include "system/input_file.h"
#include "system/stop_request.h"

namespace devhost {

namespace {

namespace fs = std::filesystem;

// XDG's rule: a relative path in the variable is no path.
std::optional<std::string> HistoryPath() {
  const auto absolute = [](const char* name) -> std::optional<fs::path> {
    const char* value = std::getenv(name);
    if (value == nullptr || !fs::path(value).is_absolute()) return {};
    return fs::path(value);
  };
  if (const auto state = absolute("XDG_STATE_HOME"))
    return (*state / "pryndal-devhost" / "history").string();
  if (const auto home = absolute("HOME"))
    return (*home / ".local" / "state" / "pryndal-devhost" / "history").string();
  return {};
}

// The file's lines, none for a file not there yet; the newest kHistoryLines.
std::vector<std::string> ReadLines(const std::string& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return {};
  std::istringstream in(ReadInputFile(path, {"console history", 16 * kMiB}));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(std::move(line));
  if (lines.size() > kHistoryLines)
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(kHistoryLines));
  return lines;
}

// Folders made for the history are the person's own, as XDG asks.
void MakeFolder(const fs::path& folder) {
  if (fs::is_directory(folder)) return;
  MakeFolder(folder.parent_path());
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::owner_all);
}

}  // namespace

ConsoleHistory::ConsoleHistory(Report report) : report_(std::move(report)), path_(HistoryPath()) {
  if (!path_) {
    Said("history: neither XDG_STATE_HOME nor HOME is an absolute path; lines typed are not kept");
    return;
  }
  try {
    lines_ = ReadLines(*path_);
  } catch (const InputFileError& e) {
    // Not written over: it holds what it holds, and is not this run's to replace.
    Said(std::string("history: ") + e.what() + "; lines typed are not kept");
    path_.reset();
  }
  at_ = lines_.size();
}

void ConsoleHistory::Add(const std::string& line) {
  at_ = lines_.size();
  if (!lines_.empty() && lines_.back() == line) return;
  lines_.push_back(line);
  if (lines_.size() > kHistoryLines) lines_.erase(lines_.begin());
  at_ = lines_.size();
  Save(line);
}

std::optional<std::string> ConsoleHistory::Older(const std::string& draft) {
  if (at_ == 0) return {};
  if (at_ == lines_.size()) draft_ = draft;
  return lines_[--at_];
}

std::optional<std::string> ConsoleHistory::Newer() {
  if (at_ >= lines_.size()) return {};
  return ++at_ == lines_.size() ? draft_ : lines_[at_];
}

void ConsoleHistory::Save(const std::string& line) {
  if (!path_) return;
  try {
    const fs::path file(FollowLinks(*path_));
    MakeFolder(file.parent_path());
    const FolderLock lock(file.parent_path().string());
    std::vector<std::string> kept = ReadLines(*path_);
    kept.push_back(line);
    std::string text;
    for (std::size_t i = kept.size() > kHistoryLines ? kept.size() - kHistoryLines : 0;
         i < kept.size(); ++i)
      text += kept[i] + '\n';
    WriteFileAtomically(*path_, text);
  } catch (const Stopped&) {
    throw;
  } catch (const std::exception& e) {
    Said(std::string("history: ") + e.what() + "; this line is not kept");
  }
}

void ConsoleHistory::Said(const std::string& problem) {
  if (std::exchange(said_, true)) return;
  report_(problem);
}

}  // namespace devhost
