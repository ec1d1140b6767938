// "Did you mean ...?": the known name nearest to one that was misspelt, for every place that
// refuses a name a person wrote (an option, a variable, a command, a widget label).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devhost {

// The known name fewest one-character edits away (an insertion, a deletion, a change, or two
// neighbours swapped), letter case aside, if that is at most a third of name's length (at least
// one); of equally near names the first in alphabetical order.
std::optional<std::string> NearestName(std::string_view name,
                                       const std::vector<std::string>& known);
// "; did you mean NAME?" with the nearest name (as quote writes it), or nothing.
std::string DidYouMean(std::string_view name, const std::vector<std::string>& known,
                       std::string (*quote)(const std::string&) = nullptr);

}  // namespace devhost
