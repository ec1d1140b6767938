// A folder of the test's own for the files it makes, in the build folder: never a fixed name in the
// system's temporary folder, so two checkouts testing at once keep apart and a killed run leaves
// nothing there. Emptied when a test first asks for it, so nothing of an earlier run can pass for
// this one's.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace veyrant_test {

// The test's folder, or with a suffix one beside it (".tmpdir" is given to the host as $TMPDIR, so
// what it leaves there shows).
inline std::filesystem::path TestFolder(const std::string& suffix = "") {
  static std::set<std::string> emptied;
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name() + suffix;
  std::replace(name.begin(), name.end(), '/', '-');
  const auto folder = std::filesystem::path(VEYRANT_TEST_FOLDERS) / name;
  if (emptied.insert(name).second) std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

inline std::filesystem::path TestTmpdir() { return TestFolder(".tmpdir"); }

// A file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace veyrant_test
