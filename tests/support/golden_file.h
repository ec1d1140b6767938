// Committed references under tests/golden, for what a test must reproduce byte for byte or pixel
// for pixel. Refresh them on purpose with scripts/update-golden, which sets VEYRANT_UPDATE_GOLDEN=1
// so that each test writes what it got as the reference first; review the result with git diff.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/test_folder.h"

namespace veyrant_test {

inline std::filesystem::path GoldenPath(const std::string& name) {
  return std::filesystem::path(VEYRANT_GOLDEN_DIR) / name;
}

inline bool UpdatingGolden() {
  const char* update = std::getenv("VEYRANT_UPDATE_GOLDEN");
  return update != nullptr && update == std::string("1");
}

// The reference text of that name.
inline std::string GoldenText(const std::string& name, const std::string& actual) {
  if (UpdatingGolden()) std::ofstream(GoldenPath(name), std::ios::binary) << actual;
  return ReadFile(GoldenPath(name));
}

}  // namespace veyrant_test
