// The plugin's life as the host traces it, byte for byte against tests/golden/lifecycle.jsonl: the
// load (the eleven variables, each registered with its hook, then the drawable and the log line),
// one variable set, a reload (the new module asked for its object before the old plugin goes, then
// every variable reported to it, each hook reading its own with its own getter and nothing else),
// a frame of the settings page, a frame of the demo, and the unload at the end. What the hooks'
// values do to the drawing is in the overlay tests; many reloads, in LoadCycles.
#include <gtest/gtest.h>

#include <string>

#include "support/golden_file.h"
#include "support/program_run.h"

namespace {

TEST(Lifecycle, TracesEveryCallBetweenTheHostAndThePluginInOrder) {
  const veyrant_test::ProgramRun run = veyrant_test::Devhost(
      R"(--set veyrant_scale=2 --exec "plugin reload Veyrant" --settings-frames 1 --frames 1 )"
      "--trace -");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  std::string trace;
  for (const auto& line : run.lines)
    if (line.starts_with('{')) trace += line + "\n";
  EXPECT_EQ(trace, veyrant_test::GoldenText("lifecycle.jsonl", trace));
}

}  // namespace
