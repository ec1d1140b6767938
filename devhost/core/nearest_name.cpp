#include "core/nearest_name.h"

#include <algorithm>
#include <cctype>

namespace devhost {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Edits from a to b, a swap of neighbours counting as one (optimal string alignment).
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> NearestName(std::string_view name,
                                       const std::vector<std::string>& known) {
  const std::string typed = Lower(name);
  const std::size_t allowed = std::max<std::size_t>(1, typed.size() / 3);
  std::optional<std::string> nearest;
  std::size_t best = allowed + 1;
  for (const std::string& candidate : known) {
    const std::size_t distance = EditDistance(typed, Lower(candidate));
    if (distance < best || (distance == best && nearest && candidate < *nearest)) {
      best = distance;
      nearest = candidate;
    }
  }
  return nearest;
}

std::string DidYouMean(std::string_view name, const std::vector<std::string>& known,
                       std::string (*quote)(const std::string&)) {
  const std::optional<std::string> nearest = NearestName(name, known);
  if (!nearest) return {};
  return "; did you mean " + (quote != nullptr ? quote(*nearest) : *nearest) + "?";
}

}  // namespace devhost
