#include "app/run_digest.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <variant>

namespace devhost {

namespace {

// FNV-1a over the fields' bytes.
class Hash {
 public:
  void Bytes(const void* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      value_ ^= static_cast<const unsigned char*>(data)[i];
      value_ *= 1099511628211ull;
    }
  }
  template <typename T>
  void Plain(T v) {
    static_assert(std::is_trivially_copyable_v<T>);
    Bytes(&v, sizeof v);
  }
  void Text(std::string_view text) {
    Plain(text.size());
    Bytes(text.data(), text.size());
  }
  void Value(const TraceValue& value) {
    Plain(value.index());
    std::visit(
        [this](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, std::string>) {
            Text(v);
          } else if constexpr (std::is_same_v<T, ObjectId>) {
            Text(v.id);
          } else if constexpr (std::is_same_v<T, float>) {
            Plain(std::bit_cast<std::uint32_t>(v));
          } else if constexpr (std::is_same_v<T, Vector2F>) {
            Plain(std::bit_cast<std::uint32_t>(v.X)), Plain(std::bit_cast<std::uint32_t>(v.Y));
          } else if constexpr (std::is_same_v<T, LinearColor>) {
            for (const float c : {v.R, v.G, v.B, v.A}) Plain(std::bit_cast<std::uint32_t>(c));
          } else if constexpr (std::is_same_v<T, ControllerInput>) {
            Plain(std::bit_cast<std::uint32_t>(v.Throttle));
            Plain(std::bit_cast<std::uint32_t>(v.Steer));
            Plain(v.Flags);
          } else if constexpr (std::is_same_v<T, RBState>) {
            for (const float f : {v.Quaternion.X, v.Quaternion.Y, v.Quaternion.Z, v.Quaternion.W,
                                  v.AngularVelocity.X, v.AngularVelocity.Y, v.AngularVelocity.Z})
              Plain(std::bit_cast<std::uint32_t>(f));
          } else if constexpr (std::is_same_v<T, Vector2>) {
            Plain(v.X), Plain(v.Y);
          } else if constexpr (std::is_same_v<T, NullHandle> || std::is_same_v<T, Callback>) {
          } else {
            Plain(v);  // bool, std::int64_t
          }
        },
        value);
  }
  std::uint64_t Get() const { return value_; }

 private:
  std::uint64_t value_ = 14695981039346656037ull;
};

std::uint64_t HashOf(const TraceRecord& r) {
  Hash hash;
  hash.Plain(r.kind);
  hash.Plain(r.phase);
  hash.Plain(r.frame.value_or(-1));
  hash.Text(r.op);
  hash.Plain(r.self.has_value());
  if (r.self) hash.Text(*r.self);
  hash.Plain(r.args.size());
  for (const TraceValue& arg : r.args) hash.Value(arg);
  hash.Plain(r.result.has_value());
  if (r.result) hash.Value(*r.result);
  return hash.Get();
}

}  // namespace

std::size_t RecordGroups::Take(const TraceRecord& record) {
  const bool joins = record.phase == Phase::Fault && groups_ > 0;
  if (!joins && (groups_ == 0 || record.phase != phase_ || record.frame != frame_)) {
    phase_ = record.phase;
    frame_ = record.frame;
    ++groups_;
  }
  return groups_ - 1;
}

void RunDigest::Take(const TraceRecord& record) {
  hashes.push_back(HashOf(record));
  if (grouping_.Take(record) == groups.size())
    groups.push_back({record.phase, record.frame, hashes.size() - 1, hashes.size() - 1});
  groups.back().end = hashes.size();
}

const RunDigest::Group& RunDigest::GroupOf(std::size_t record) const {
  return *std::prev(
      std::upper_bound(groups.begin(), groups.end(), record,
                       [](std::size_t i, const Group& group) { return i < group.begin; }));
}

std::map<std::int64_t, std::vector<std::uint64_t>> RunDigest::Frames() const {
  std::map<std::int64_t, std::vector<std::uint64_t>> frames;
  for (const Group& group : groups)
    if (group.phase == Phase::Frame && group.frame)
      frames[*group.frame].insert(frames[*group.frame].end(),
                                  hashes.begin() + static_cast<std::ptrdiff_t>(group.begin),
                                  hashes.begin() + static_cast<std::ptrdiff_t>(group.end));
  return frames;
}

}  // namespace devhost
