// The lines typed into the window's console line, kept across runs in
// $XDG_STATE_HOME/pryndal-devhost/history (~/.local/state/pryndal-devhost/history where that is
// unset), the last kHistoryLines of them. Each line is saved as it is entered, as every output is
// written (atomically, through a link), over the file read again under its folder's lock, so that
// two windows at once keep both's lines. A history that cannot be read or written is said once,
// through report, and never fails the run.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace devhost {

inline constexpr std::size_t kHistoryLines = 1000;

class ConsoleHistory {
 public:
  using Report = std::function<void(const std::string&)>;

  explicit ConsoleHistory(Report report);

  // A line entered; the same line twice in a row is kept once.
  void Add(const std::string& line);

  // Walking from the newest line back (Up) and forth again (Down); draft, the line being typed
  // when the walk began, comes back past the newest. Nothing when there is no further line.
  std::optional<std::string> Older(const std::string& draft);
  std::optional<std::string> Newer();

 private:
  void Save(const std::string& line);
  void Said(const std::string& problem);

  Report report_;
  std::optional<std::string> path_;  // none: kept for this run only
  std::vector<std::string> lines_;
  std::size_t at_ = 0;  // the line shown while walking; lines_.size() when not
  std::string draft_;
  bool said_ = false;
};

}  // namespace devhost
