#include "app/record_diff.h"

#include <algorithm>
#include <cstdint>

namespace devhost {

namespace {

// The table of common lengths over the lines between the common start and end: kept to a size
// that fits comfortably in memory.
constexpr std::size_t kMostCells = std::size_t{16} << 20;

}  // namespace

std::optional<std::vector<DiffLine>> DiffLines(const std::vector<std::string>& first,
                                               const std::vector<std::string>& second) {
  std::size_t start = 0;
  while (start < first.size() && start < second.size() && first[start] == second[start]) ++start;
  std::size_t endFirst = first.size(), endSecond = second.size();
  while (endFirst > start && endSecond > start && first[endFirst - 1] == second[endSecond - 1])
    --endFirst, --endSecond;
  const std::size_t n = endFirst - start, m = endSecond - start;
  if (n * m > kMostCells || n >= UINT16_MAX || m >= UINT16_MAX) return std::nullopt;
  // common[i][j]: the longest common subsequence of the lines from i and from j on.
  std::vector<std::uint16_t> common((n + 1) * (m + 1), 0);
  const auto at = [m, &common](std::size_t i, std::size_t j) -> std::uint16_t& {
    return common[i * (m + 1) + j];
  };
  for (std::size_t i = n; i-- > 0;)
    for (std::size_t j = m; j-- > 0;)
      at(i, j) = first[start + i] == second[start + j]
                     ? static_cast<std::uint16_t>(at(i + 1, j + 1) + 1)
                     : std::max(at(i + 1, j), at(i, j + 1));
  std::vector<DiffLine> lines;
  std::size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && first[start + i] == second[start + j]) {
      ++i, ++j;
    } else if (j == m || (i < n && at(i + 1, j) >= at(i, j + 1))) {
      lines.push_back({true, start + i++});
    } else {
      lines.push_back({false, start + j++});
    }
  }
  return lines;
}

}  // namespace devhost
