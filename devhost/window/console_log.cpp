#include "window/console_log.h"

#include <sstream>

namespace devhost {

namespace {

constexpr std::size_t kKeptLines = 500;

}  // namespace

void ConsoleLog::Add(LogLine::Kind kind, const std::string& text, bool toTerminal) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (toTerminal) terminal_ << line << '\n' << std::flush;
    lines_.push_back({kind, std::move(line)});
    ++added_;
    if (lines_.size() > kKeptLines) lines_.pop_front();
  }
}

}  // namespace devhost
