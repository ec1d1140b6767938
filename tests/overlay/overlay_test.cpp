// Frames drawn through the real module, one case of frames.json each: the scene, the settings set
// through the console, and what the frame must show (see "about" in the file).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/canvas_listing.h"
#include "support/loaded_plugin.h"

namespace {

using Json = nlohmann::json;
using Lines = std::vector<std::string>;
using Kind = veyrant_test::CanvasCall::Kind;

// A panel opens with its background filled and outlined over the same box, then its header band
// filled and its owner's name written: "NAME@X,Y WxH" of each.
Lines Panels(const std::vector<veyrant_test::CanvasCall>& calls) {
  Lines panels;
  const auto box = [](const veyrant_test::CanvasCall& call) {
    return "@" + std::to_string(call.position.X) + "," + std::to_string(call.position.Y) + " " +
           std::to_string(call.size.X) + "x" + std::to_string(call.size.Y);
  };
  std::vector<const veyrant_test::CanvasCall*> draws;
  for (const auto& call : calls)
    if (call.kind == Kind::FillBox || call.kind == Kind::DrawBox || call.kind == Kind::DrawString)
      draws.push_back(&call);
  for (std::size_t i = 0; i + 3 < draws.size(); ++i) {
    const auto &background = *draws[i], &outline = *draws[i + 1], &name = *draws[i + 3];
    if (background.kind == Kind::FillBox && outline.kind == Kind::DrawBox &&
        box(background) == box(outline) && draws[i + 2]->kind == Kind::FillBox &&
        name.kind == Kind::DrawString)
      panels.push_back(name.text + box(background));
  }
  return panels;
}

// A bar row's draw calls after its label, track and centre mark: its fill and value text, up to
// the next row's label or the first indicator cell (a fill outlined over the same box).
Lines Row(const Lines& lines, const std::string& label) {
  const auto geometry = [](const std::string& line) {
    const std::size_t start = line.find(' ') + 1;
    return line.substr(start, line.find(' ', line.find(' ', start) + 1) - start);
  };
  const auto opensNext = [&](std::size_t at) {
    for (const char* next : {" THR", " STR", " ROLL"})
      if (lines[at].starts_with("text ") && lines[at].ends_with(next)) return true;
    return at + 1 < lines.size() && lines[at].starts_with("fill ") &&
           lines[at + 1].starts_with("box ") && geometry(lines[at]) == geometry(lines[at + 1]);
  };
  std::size_t at = 0;
  while (at < lines.size() && !lines[at].ends_with(" " + label)) ++at;
  Lines row;
  for (at += 3; at < lines.size() && !opensNext(at); ++at) row.push_back(lines[at]);
  return row;
}

// The car array's calls in order: "Count", or "Get I".
Lines CarArrayCalls(const std::vector<devhost::TraceRecord>& records) {
  Lines calls;
  for (const auto& record : records) {
    if (record.op == "ArrayWrapper<CarWrapper>::Count") calls.push_back("Count");
    if (record.op == "ArrayWrapper<CarWrapper>::Get")
      calls.push_back("Get " + std::to_string(std::get<std::int64_t>(record.args.at(0))));
  }
  return calls;
}

struct FrameCase {
  std::string name;
  Json data;
};

std::vector<FrameCase> Cases() {
  std::ifstream file(VEYRANT_FRAME_CASES);
  std::vector<FrameCase> cases;
  const Json all = Json::parse(file);
  for (const Json& c : all.at("cases")) cases.push_back({c.at("name"), c});
  return cases;
}

void PrintTo(const FrameCase& c, std::ostream* out) { *out << c.name; }

class Frame : public testing::TestWithParam<FrameCase> {};

TEST_P(Frame, ShowsWhatItMust) {
  const Json& c = GetParam().data;
  const Json canvas = c.value("canvas", Json::array({1920, 1080}));
  veyrant_test::LoadedPlugin plugin(VEYRANT_MODULE_PATH, {canvas[0], canvas[1]});
  veyrant_test::Settings settings;
  const Json set = c.value("set", Json::object());
  for (const auto& [name, value] : set.items()) settings.emplace_back(name, value);
  const auto& calls = plugin.DrawFrame(c.at("scene").dump(), settings);
  const Lines lines = veyrant_test::DrawLines(calls);
  int sizes = 0;
  for (const auto& call : calls) sizes += call.kind == Kind::GetStringSize;
  Lines ops;
  for (const auto& record : plugin.Records()) ops.push_back(record.op);
  const bool asksRigidBody =
      std::find(ops.begin(), ops.end(), "RBActorWrapper::GetRBState") != ops.end();

  for (const auto& [what, expected] : c.at("expect").items()) {
    SCOPED_TRACE(what);
    if (what == "panels")
      EXPECT_EQ(Panels(calls), expected.get<Lines>());
    else if (what == "draw")
      EXPECT_EQ(lines, expected.get<Lines>());
    else if (what == "fills")
      EXPECT_EQ(veyrant_test::DrawLines(calls, "fill"), expected.get<Lines>());
    else if (what == "texts")
      EXPECT_EQ(veyrant_test::DrawLines(calls, "text"), expected.get<Lines>());
    else if (what == "ops")
      EXPECT_EQ(ops, expected.get<Lines>());
    else if (what == "carArray")
      EXPECT_EQ(CarArrayCalls(plugin.Records()), expected.get<Lines>());
    else if (what == "asksRigidBody")
      EXPECT_EQ(asksRigidBody, expected.get<bool>());
    else if (what == "stringSizes")
      EXPECT_EQ(sizes, expected.get<int>());
    else if (what == "rows")
      for (const auto& [label, row] : expected.items())
        EXPECT_EQ(Row(lines, label), row.get<Lines>()) << label;
    else
      ADD_FAILURE() << "unknown expectation " << what;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Frame, testing::ValuesIn(Cases()),
                         [](const auto& param) { return param.param.name; });

}  // namespace
