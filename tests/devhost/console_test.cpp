// The console: setting, printing, host commands and the errors for bad lines.
#include <gtest/gtest.h>

#include <fstream>

#include "support/loaded_plugin.h"

namespace {

std::string Fixture() {
  return std::string(VEYRANT_FIXTURE_DIR) + "/fixture_good" VEYRANT_MODULE_SUFFIX;
}

struct Line {
  const char* line;
  const char* stored;  // the variable's text afterwards
};

class ConsoleSets : public testing::TestWithParam<Line> {};

TEST_P(ConsoleSets, StoresTheValueAndReportsItThroughTheHook) {
  veyrant_test::LoadedPlugin plugin(Fixture());
  plugin.ClearRecords();
  EXPECT_EQ(plugin.Console(GetParam().line), "");
  EXPECT_EQ(plugin.Cvar("fixture_value"), GetParam().stored);
  const auto hooks = plugin.RecordsIn(devhost::Phase::Hook);
  ASSERT_EQ(hooks.size(), 1u);
  EXPECT_EQ(hooks[0].op, "CVarWrapper::getFloatValue");
}

INSTANTIATE_TEST_SUITE_P(Lines, ConsoleSets,
                         testing::Values(Line{"fixture_value 1.5", "1.5"},
                                         Line{"  fixture_value   abc  ", "abc"},
                                         Line{"fixture_value \"a \\\"b\\\" \\\\\"", "a \"b\" \\"},
                                         Line{"fixture_value \"\"", ""},
                                         Line{"fixture_value nan", "nan"}));

TEST(Console, PrintsAValueInTheConfigurationForm) {
  veyrant_test::LoadedPlugin plugin(Fixture());
  plugin.Console("fixture_value \"x\\\"y\"");
  EXPECT_EQ(plugin.Console("fixture_value"), "fixture_value \"x\\\"y\"\n");
}

struct BadLine {
  const char* line;
  const char* message;
};

class ConsoleRefuses : public testing::TestWithParam<BadLine> {};

TEST_P(ConsoleRefuses, WithAClearMessageAndNoChange) {
  veyrant_test::LoadedPlugin plugin(Fixture());
  plugin.ClearRecords();
  try {
    plugin.Console(GetParam().line);
    FAIL() << GetParam().line;
  } catch (const devhost::ConsoleError& e) {
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
  EXPECT_EQ(plugin.Cvar("fixture_value"), "0");
  EXPECT_TRUE(plugin.Records().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ConsoleRefuses,
    testing::Values(
        BadLine{"veyrant_nope 1", "unknown command or variable: veyrant_nope"},
        BadLine{"fixture_value 1 2", "fixture_value: expected one value, got more: 2"},
        BadLine{"fixture_value \"open", "fixture_value: expected a closing quote"},
        BadLine{"fixture_value \"a\\x\"", "fixture_value: expected \\\" or \\\\ after a backslash"},
        // The saved configuration could not hold it: one variable a line, no escape for a break.
        BadLine{"fixture_value \"a\nb\"", "fixture_value: a value may not hold a line break"},
        BadLine{"plugin", "plugin: expected `plugin load PATH` or `plugin unload NAME`"},
        BadLine{"plugin unload Nobody", "plugin unload: no plugin named Nobody"},
        BadLine{"plugin load /nonexistent.so", "plugin load: /nonexistent.so: file not found"},
        BadLine{"exec", "exec: expected a file name"},
        BadLine{"exec /nonexistent.cfg", "exec: cannot read /nonexistent.cfg"}));

TEST(Console, ExecRunsEachLineAndNamesTheFailingOne) {
  veyrant_test::LoadedPlugin plugin(Fixture());
  const std::string path = testing::TempDir() + "console_exec.cfg";
  std::ofstream(path)
      << "# a comment\n\nfixture_value 4\nfixture_value\nbogus 1\nfixture_value 9\n";
  try {
    plugin.Console("exec " + path);
    FAIL();
  } catch (const devhost::ConsoleError& e) {
    EXPECT_EQ(std::string(e.what()), path + ":5: unknown command or variable: bogus");
  }
  EXPECT_EQ(plugin.Cvar("fixture_value"), "4");
}

// Found while writing the console fuzz target: a file running itself overflowed the stack.
TEST(Console, ExecRefusesAFileThatRunsItselfThroughAnother) {
  veyrant_test::LoadedPlugin plugin(Fixture());
  const std::string a = testing::TempDir() + "console_exec_a.cfg";
  const std::string b = testing::TempDir() + "console_exec_b.cfg";
  std::ofstream(a) << "exec " << b << "\n";
  std::ofstream(b) << "fixture_value 5\nexec " << a << "\n";
  const std::string expected =
      a + ":1: " + b + ":2: exec: " + a + " is already running (a file may not run itself)";
  // Twice: the refused run leaves no file marked as running.
  for (int run = 0; run < 2; ++run) {
    try {
      plugin.Console("exec " + a);
      FAIL();
    } catch (const devhost::ConsoleError& e) {
      EXPECT_EQ(std::string(e.what()), expected);
    }
  }
  EXPECT_EQ(plugin.Cvar("fixture_value"), "5");
}

TEST(Console, EverySetCallsTheHookEvenWithTheSameText) {
  veyrant_test::LoadedPlugin plugin(Fixture());
  plugin.ClearRecords();
  plugin.Console("fixture_value 0");
  plugin.Console("fixture_value 0");
  EXPECT_EQ(plugin.RecordsIn(devhost::Phase::Hook).size(), 2u);
}

}  // namespace
