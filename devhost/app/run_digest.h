// A run's records as --compare keeps them: a 64-bit hash of each (every field the trace writes,
// none it does not), and their groups, the records of one phase and frame one after another, so
// that two runs of 130,000 records are compared without keeping or writing either. The records
// themselves are read again, for the one group a report shows, by playing the run once more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "sdk/trace.h"

namespace devhost {

// Which group each record belongs to. A fault's record belongs with the call it ended.
class RecordGroups {
 public:
  // The group of the record, counted from 0 in the order groups begin.
  std::size_t Take(const TraceRecord& record);

 private:
  Phase phase_ = Phase::Host;
  std::optional<std::int64_t> frame_;
  std::size_t groups_ = 0;
};

struct RunDigest {
  struct Group {
    Phase phase;
    std::optional<std::int64_t> frame;
    std::size_t begin, end;  // records [begin, end)
  };
  std::vector<std::uint64_t> hashes;
  std::vector<Group> groups;

  void Take(const TraceRecord& record);
  const Group& GroupOf(std::size_t record) const;
  // Each rendered frame's records' hashes, one after another.
  std::map<std::int64_t, std::vector<std::uint64_t>> Frames() const;

 private:
  RecordGroups grouping_;
};

}  // namespace devhost
