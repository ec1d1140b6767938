// Runs a fuzz target over saved inputs without libFuzzer, so every build replays the corpus and the
// regressions. Arguments are files or folders (their files in name order, dot files skipped).
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "fuzz_host.h"

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    std::error_code notAFolder;
    for (const auto& entry : std::filesystem::directory_iterator(argv[i], notAFolder))
      if (entry.path().filename().string()[0] != '.') inputs.push_back(entry.path());
    if (notAFolder) inputs.emplace_back(argv[i]);
  }
  if (inputs.empty()) throw std::runtime_error("no inputs to replay");
  std::sort(inputs.begin(), inputs.end());
  for (const auto& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path.string() + ": cannot read");
    // A copy of exactly the input's size, so reading past its end is caught as under libFuzzer.
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), {});
    LLVMFuzzerTestOneInput(data.data(), data.size());
  }
}
