#include "window/console_log.h"

#include <algorithm>

#include "core/host.h"

namespace devhost {

namespace {

constexpr std::size_t kKeptLines = 200;

}  // namespace

void ConsoleLog::Add(const std::string& line) {
  lines_.push_back(line);
  ++added_;
  if (lines_.size() > kKeptLines) lines_.pop_front();
}

void ConsoleLog::StartWait(const std::string& text, double now, double seconds) {
  wait_ = Wait{text, added_, now + seconds, seconds};
}

bool ConsoleLog::Waiting(double now) {
  if (!wait_) return false;
  const std::size_t fresh = std::min(added_ - wait_->addedBefore, lines_.size());
  if (std::any_of(lines_.end() - static_cast<std::ptrdiff_t>(fresh), lines_.end(),
                  [this](const std::string& line) {
                    return line.find(wait_->text) != std::string::npos;
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
