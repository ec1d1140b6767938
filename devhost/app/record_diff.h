// Two sequences of lines as a diff: what one has that the other lacks, in order, so that a row
// added to a frame reads as added records rather than as every record after it changed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace devhost {

struct DiffLine {
  bool first;         // only the first sequence has it; else only the second
  std::size_t index;  // in its own sequence
};

// The lines each side has that the other lacks, in the order of a longest common subsequence;
// nothing when the two differ in more than a diff can list (too many lines after the common start
// and end).
std::optional<std::vector<DiffLine>> DiffLines(const std::vector<std::string>& first,
                                               const std::vector<std::string>& second);

}  // namespace devhost
