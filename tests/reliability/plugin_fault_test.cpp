// A plugin that faults costs its call, not the run: each kind of fault in each kind of call,
// through the program, with the fixture module faulting on request. The run names the call, the
// fault and the fixture's line, saves the configuration as a person wrote it, writes the trace up
// to the fault and leaves nothing half-written.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>

#include "support/folder_state.h"
#include "support/program_run.h"

namespace {

const std::string kFixture = VEYRANT_FIXTURE_DIR "/fixture_good" VEYRANT_MODULE_SUFFIX;

struct Kind {
  const char* name;
  const char* fault;  // the message's words for it, from their start
};

struct Where {
  const char* name;
  const char* call;  // as the message names it
};

const Kind kKinds[] = {
    {"segv", "SIGSEGV, a write to address 0x0"},
    {"bus", "SIGBUS, an access past the end of a mapped file at address 0x"},
    {"fpe", "SIGFPE, an integer division by zero"},
    {"ill", "SIGILL, an illegal instruction at address 0x"},
    {"abort", "SIGABRT, abort() was called"},
    {"terminate", "SIGABRT, abort() was called"},
    {"throw", "an exception of type std::runtime_error escaped: asked to"},
    {"hang", "it did not return within 1 s"},
};

const Where kWheres[] = {
    {"frame", "FaultIf"},  // the fixture's drawable is a lambda: the function it runs names it
    {"load", "onLoad"},
    {"hook", "the change hook of fixture_value"},
    {"settings", "RenderSettings"},
};

void PrintTo(const Kind& kind, std::ostream* os) { *os << kind.name; }
void PrintTo(const Where& where, std::ostream* os) { *os << where.name; }

// The fixture's line that the request makes fault.
int FaultLine(const std::string& kind) {
  std::ifstream source(VEYRANT_FIXTURE_SOURCE);
  int number = 0;
  for (std::string line; std::getline(source, line);)
    if (++number, line.ends_with("// fault: " + kind)) return number;
  return 0;
}

class PluginFault : public testing::TestWithParam<std::tuple<Kind, Where>> {};

TEST_P(PluginFault, EndsTheRunWithTheCallNamedAndEverythingKept) {
  const auto& [kind, where] = GetParam();
  const auto folder = veyrant_test::TestFolder();
  // Lines of the person's own, and of a plugin not loaded now.
  const std::string config = "# kept as written\n other_setting   x  \n";
  std::ofstream(folder / "c.cfg") << config;
  const veyrant_test::ProgramRun run = veyrant_test::Devhost(
      "--plugin '" + kFixture +
          "' --config c.cfg --set fixture_value=6 --settings-frames 1 --frames 3 --trace t.jsonl "
          "--plugin-timeout 1",
      std::string("VEYRANT_FIXTURE_FAULT=") + kind.name + "@" + where.name);

  EXPECT_EQ(run.exitCode, 3) << run.errors;
  std::istringstream lines(run.errors);
  std::string line;
  while (std::getline(lines, line) && line.find(" faulted in ") == std::string::npos) {
  }
  EXPECT_EQ(line.substr(0, line.find(": ") + 2 + std::strlen(kind.fault)),
            std::string("Fixture faulted in ") + where.call + ": " + kind.fault);
  std::getline(lines, line);  // the innermost place
  EXPECT_TRUE(line.ends_with(" at tests/fixtures/fixture_plugin.cpp:" +
                             std::to_string(FaultLine(kind.name))))
      << line;

  // The person's lines as written, and the run's change, unless the plugin faulted before its
  // variable existed.
  EXPECT_EQ(veyrant_test::ReadFile(folder / "c.cfg"),
            config + (std::string(where.name) == "load" ? "" : "fixture_value \"6\"\n"));

  const std::string trace = veyrant_test::ReadFile(folder / "t.jsonl");
  const std::string last = trace.substr(trace.rfind('\n', trace.size() - 2) + 1);
  EXPECT_TRUE(std::regex_search(last, std::regex(R"(^\{"phase":"fault",("frame":\d,)?"fault":")" +
                                                 std::string(kind.fault).substr(0, 12))))
      << last;
  EXPECT_NE(last.find(std::string("\"call\":\"") + where.call + "\""), std::string::npos) << last;

  const std::string hangs = std::string(kind.name) == "hang" ? "fixture-hangs file 644\n" : "";
  EXPECT_EQ(veyrant_test::Listing(folder),
            "c.cfg file 644\n" + hangs + "stderr.txt file 644\nt.jsonl file 644\n");
  EXPECT_EQ(veyrant_test::Listing(veyrant_test::TestTmpdir()), "");
}

INSTANTIATE_TEST_SUITE_P(EachKindInEachCall, PluginFault,
                         testing::Combine(testing::ValuesIn(kKinds), testing::ValuesIn(kWheres)),
                         [](const auto& param) {
                           return std::string(std::get<0>(param.param).name) + "_in_" +
                                  std::get<1>(param.param).name;
                         });

}  // namespace
