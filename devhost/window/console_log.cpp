#include "window/console_log.h"

#include <algorithm>
#include <sstream>

#include "core/host.h"

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

void ConsoleLog::StartWait(const std::string& text, std::size_t since, double now, double seconds) {
  wait_ = Wait{text, since, now + seconds, seconds};
}

bool ConsoleLog::Waiting(double now) {
  if (!wait_) return false;
  const std::size_t fresh = std::min(added_ - std::min(wait_->since, added_), lines_.size());
  if (std::any_of(lines_.end() - static_cast<std::ptrdiff_t>(fresh), lines_.end(),
                  [this](const LogLine& line) {
                    return line.kind != LogLine::Kind::Command &&
                           line.text.find(wait_->text) != std::string::npos;
                  })) {
    wait_.reset();
    return false;
  }
  if (now > wait_->until)
    throw ConsoleError("wait: no console line with '" + wait_->text + "' within " +
                       std::to_string(static_cast<int>(wait_->seconds)) + " s");
  return true;
}

}  // namespace devhost
