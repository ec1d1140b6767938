// docs/devhost.md held to the program: its option table, its exit codes and its console lines are
// exactly those --help lists, so a change to one that misses the other fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

using Names = std::set<std::string>;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines of the manual from the heading on, up to the next heading of its level or above.
std::vector<std::string> ManualSection(const std::string& heading) {
  std::ifstream file(VEYRANT_MANUAL_PATH);
  std::stringstream text;
  text << file.rdbuf();
  const std::string level = heading.substr(0, heading.find(' ') + 1);
  std::vector<std::string> section;
  bool in = false;
  for (const std::string& line : Lines(text.str())) {
    if (in && line.starts_with("#") && line.find(' ') <= level.size() - 1) break;
    if (in) section.push_back(line);
    if (line == heading) in = true;
  }
  return section;
}

// The first cell of each row of the section's tables, past the header and its rule.
std::vector<std::string> FirstCells(const std::vector<std::string>& section) {
  std::vector<std::string> cells;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const std::string& row = section[i];
    if (!row.starts_with("| ") || (i + 1 < section.size() && section[i + 1].starts_with("|---")) ||
        row.starts_with("|---"))
      continue;
    std::size_t end = 2;
    while (end < row.size() && !(row[end] == '|' && row[end - 1] != '\\')) ++end;
    std::string cell = row.substr(2, end - 2);
    while (!cell.empty() && cell.back() == ' ') cell.pop_back();
    cells.push_back(cell);
  }
  return cells;
}

// The texts in backticks, as written.
std::vector<std::string> Quoted(const std::string& cell) {
  std::vector<std::string> texts;
  for (std::size_t at = cell.find('`'); at != std::string::npos;) {
    const std::size_t end = cell.find('`', at + 1);
    texts.push_back(cell.substr(at + 1, end - at - 1));
    at = cell.find('`', end + 1);
  }
  return texts;
}

std::string FirstWord(const std::string& text) { return text.substr(0, text.find(' ')); }

// The entries of one of --help's sections ("exit codes:"): what stands before the two spaces.
Names HelpEntries(const std::vector<std::string>& help, const std::string& section) {
  Names entries;
  bool in = false;
  for (const std::string& line : help) {
    if (in && !line.starts_with("  ")) break;
    if (in) entries.insert(line.substr(2, line.find("  ", 2) - 2));
    if (line == section) in = true;
  }
  return entries;
}

class Manual : public testing::Test {
 protected:
  void SetUp() override {
    const veyrant_test::ProgramRun run = veyrant_test::Devhost("--help");
    ASSERT_EQ(run.exitCode, 0);
    help_ = run.lines;
  }
  std::vector<std::string> help_;
};

TEST_F(Manual, ListsTheOptionsHelpLists) {
  Names listed, documented;
  for (const std::string& line : help_) {
    if (line.empty()) break;
    if (!line.starts_with("  -")) continue;
    // "  -h, --help  ...": the names, each ending in a comma but the last.
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      const bool more = word.ends_with(',');
      listed.insert(more ? word.substr(0, word.size() - 1) : word);
      if (!more) break;
    }
  }
  for (const std::string& cell : FirstCells(ManualSection("## Command line")))
    for (const std::string& option : Quoted(cell)) documented.insert(FirstWord(option));
  EXPECT_GT(listed.size(), 20u);
  EXPECT_EQ(documented, listed);
}

TEST_F(Manual, ListsTheExitCodesHelpLists) {
  const std::vector<std::string> cells = FirstCells(ManualSection("### Exit codes"));
  EXPECT_EQ(Names(cells.begin(), cells.end()), HelpEntries(help_, "exit codes:"));
  EXPECT_EQ(HelpEntries(help_, "exit codes:"), (Names{"0", "1", "2", "3", "128+N"}));
}

TEST_F(Manual, ListsTheConsoleLinesHelpLists) {
  Names documented;
  for (const std::string& cell : FirstCells(ManualSection("## Console")))
    for (const std::string& line : Quoted(cell)) documented.insert(line);
  const Names listed = HelpEntries(help_, "console lines:");
  EXPECT_GT(listed.size(), 5u);
  EXPECT_EQ(documented, listed);
}

}  // namespace
