#include "window/script_wait.h"

#include <algorithm>

#include "system/host_errors.h"

namespace devhost {

void ScriptWait::Start(const std::string& text, std::size_t since, double now) {
  wait_ = Wait{text, since, now + kSeconds};
}

bool ScriptWait::Waiting(const ConsoleLog& log, double now) {
  if (!wait_) return false;
  const auto& lines = log.Lines();
  const std::size_t fresh =
      std::min(log.Added() - std::min(wait_->since, log.Added()), lines.size());
  if (std::any_of(lines.end() - static_cast<std::ptrdiff_t>(fresh), lines.end(),
                  [this](const LogLine& line) {
                    return line.kind != LogLine::Kind::Command &&
                           line.text.find(wait_->text) != std::string::npos;
                  })) {
    wait_.reset();
    return false;
  }
  if (now > wait_->until)
    throw ConsoleError("wait: no console line with '" + wait_->text + "' within " +
                       std::to_string(static_cast<int>(kSeconds)) + " s");
  return true;
}

}  // namespace devhost
