// Every call explained, through the program: where the plugin made each traced call, which calls
// drew a pixel of the demo, and how two builds differ, record for record and in a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/module_places.h"
#include "support/picture.h"

namespace {

using veyrant_test::Devhost;

// The line of a plugin source that holds text.
int LineOf(const std::string& source, const std::string& text) {
  std::ifstream in(std::string(VEYRANT_SOURCE_DIR "/") + source);
  int number = 0;
  for (std::string line; std::getline(in, line);)
    if (++number, line.find(text) != std::string::npos) return number;
  return 0;
}

// Without debug information (a Release build) each place is the module and the offset.
TEST(Sources, EveryCallOfAFrameIsPlacedInThePluginsSources) {
  const auto run = Devhost("--frames 3 --trace - --sources");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  if (!veyrant_test::kModuleHasDebugInfo) {
    const std::regex place(std::string("\"at\":\"") + veyrant_test::kPlacePattern + "\"\\}$");
    for (const auto& line : run.lines) {
      if (line.find("\"op\":") != std::string::npos) {
        EXPECT_TRUE(std::regex_search(line, place)) << line;
      }
    }
    return;
  }
  const std::string background =
      "src/overlay/draw_input_panel.cpp:" +
      std::to_string(LineOf("src/overlay/draw_input_panel.cpp", "SetColor(kBackground)"));
  int calls = 0, backgrounds = 0;
  for (const auto& line : run.lines) {
    if (!line.starts_with("{")) continue;
    const auto record = nlohmann::json::parse(line);
    if (!record.contains("op")) {
      EXPECT_FALSE(record.contains("at")) << line;  // the host's own records have no place
      continue;
    }
    const std::string at = record.at("at");
    const std::string file = at.substr(0, at.find(':'));
    EXPECT_TRUE(at.starts_with("src/") && std::filesystem::exists(VEYRANT_SOURCE_DIR "/" + file))
        << line;
    ++calls;
    if (record["op"] == "CanvasWrapper::SetColor" &&
        record["args"][0] == nlohmann::json::array({12, 12, 18, 220})) {
      EXPECT_EQ(at, background);
      ++backgrounds;
    }
  }
  EXPECT_GT(calls, 200);
  EXPECT_EQ(backgrounds, 3);  // one panel a frame while the camera follows Brann
}

struct PixelCase {
  const char* name;
  const char* pixel;
  std::string printed;  // the explanation, places left out
};

// The demo at 2.5 s, where Brann brakes and steers right: the panel at (19, 21), its THR track
// at (63, 55), 188 x 10, the centre mark at (156, 55).
const PixelCase kPixels[] = {
    {"BrakeFillOverTheCentreMark", "156,60",
     "pixel 156,60 of frame 0: 220,70,60,255\n"
     "  call 48 CanvasWrapper::FillBox [[70,10]] at 87,55 in [220,70,60,255]\n"
     "  call 45 CanvasWrapper::FillBox [[2,10]] at 156,55 in [80,80,80,255]\n"
     "  call 42 CanvasWrapper::FillBox [[188,10]] at 63,55 in [20,20,20,220]\n"
     "  call 27 CanvasWrapper::FillBox [[240,115]] at 19,21 in [12,12,18,220]\n"},
    {"ALabel", "30,60",
     "pixel 30,60 of frame 0: ...\n"
     "  call 39 CanvasWrapper::DrawString [\"THR\",0.85,0.85] at 27,56 in [100,100,100,200]\n"
     "  call 27 CanvasWrapper::FillBox [[240,115]] at 19,21 in [12,12,18,220]\n"},
    {"TheBorder", "19,100",
     "pixel 19,100 of frame 0: 39,39,55,255\n"
     "  call 30 CanvasWrapper::DrawBox [[240,115]] at 19,21 in [50,50,70,180]\n"
     "  call 27 CanvasWrapper::FillBox [[240,115]] at 19,21 in [12,12,18,220]\n"},
    {"InsideTheBorderNotOnIt", "20,100",
     "pixel 20,100 of frame 0: 13,15,20,255\n"
     "  call 27 CanvasWrapper::FillBox [[240,115]] at 19,21 in [12,12,18,220]\n"},
    {"TheBackdrop", "600,600",
     "pixel 600,600 of frame 0: 52,114,64,255\n  no call of the plugin drew over it\n"},
};

void PrintTo(const PixelCase& c, std::ostream* os) { *os << c.name; }

class Explain : public testing::TestWithParam<PixelCase> {};

TEST_P(Explain, ListsTheCallsThatDrewThePixelTopmostFirst) {
  const PixelCase& c = GetParam();
  const auto run = Devhost(std::string("--time 2.5 --explain ") + c.pixel);
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  std::istringstream out(run.lines.empty() ? "" : [&run] {
    std::string text;
    for (const auto& line : run.lines)
      if (line.starts_with("pixel") || line.starts_with("  ")) text += line + "\n";
    return text;
  }());
  std::istringstream expected(c.printed);
  std::string want, got;
  while (std::getline(expected, want)) {
    ASSERT_TRUE(std::getline(out, got)) << "missing: " << want;
    // The label's colour is the font's blend; each call ends with its place in the sources.
    const std::string head = want.substr(0, want.find("..."));
    EXPECT_TRUE(got.starts_with(head)) << got << "\nexpected: " << want;
    if (want.starts_with("  call")) {
      EXPECT_TRUE(
          std::regex_search(got, std::regex(std::string(", ") + veyrant_test::kPlacePattern + "$")))
          << got;
    }
  }
  EXPECT_FALSE(std::getline(out, got)) << "more than expected: " << got;
}

INSTANTIATE_TEST_SUITE_P(DemoPixels, Explain, testing::ValuesIn(kPixels),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Explain, RefusesAPixelOffTheCanvasBeforeAnyWork) {
  for (const auto& [pixel, message] : std::vector<std::pair<std::string, std::string>>{
           {"1920,5", "--explain 1920,5: the pixel lies off the 1920x1080 canvas"},
           {"5,1080", "--explain 5,1080: the pixel lies off the 1920x1080 canvas"},
           {"-1,5", "--explain: expected a whole number of at least 0, got '-1'"},
           {"5", "--explain: expected X,Y, a pixel such as 156,60, got '5'"}}) {
    const auto run = Devhost("--explain " + pixel);
    EXPECT_EQ(run.exitCode, 2) << pixel;
    EXPECT_TRUE(run.errors.starts_with("pryndal-devhost: " + message)) << run.errors;
  }
}

// The records of a normal traced run of the demo that show the throttle's colour, by frame.
std::set<long> FramesShowingThrottle(std::string& firstRecord) {
  std::set<long> frames;
  for (const auto& line : Devhost("--frames 120 --trace -").lines)
    if (line.find("[[60,210,80,255]]") != std::string::npos) {
      if (firstRecord.empty()) firstRecord = line;
      frames.insert(nlohmann::json::parse(line).at("frame").get<long>());
    }
  return frames;
}

TEST(Compare, TwoBuildsOfTheSameSourcesAreTheSame) {
  std::vector<std::string> builds{VEYRANT_MODULE_PATH};
#ifdef VEYRANT_FMA_MODULE_PATH
  builds.push_back(VEYRANT_FMA_MODULE_PATH);  // built for another instruction set
#endif
  for (const std::string& other : builds) {
    const auto run = Devhost("--frames 120 --compare '" + other + "'");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(std::regex_search(
        run.lines.front(), std::regex(R"(^the same: 120 frames and [\d,]+ records compared)")))
        << run.lines.front();
  }
}

TEST(Compare, OneChangedColourIsFoundWhereItIsMadeWithAPictureOfItsFrame) {
  std::string first;
  const std::set<long> frames = FramesShowingThrottle(first);
  ASSERT_FALSE(frames.empty());
  const auto run = Devhost("--frames 120 --compare '" VEYRANT_CHANGED_MODULE_PATH "' --png d.png");
  ASSERT_EQ(run.exitCode, 1) << run.errors;
  const std::string out = [&run] {
    std::string text;
    for (const auto& line : run.lines) text += line + "\n";
    return text;
  }();
  EXPECT_NE(out.find("the first difference is record "), std::string::npos) << out;
  EXPECT_NE(
      out.find(" of frame " + std::to_string(*frames.begin()) + "\n  --plugin  " + first + "\n"),
      std::string::npos)
      << out;
  const std::string place =
      veyrant_test::kModuleHasDebugInfo
          ? "src/overlay/draw_bar\\.cpp:" +
                std::to_string(LineOf("src/overlay/draw_bar.cpp", "SetColor(positiveColour)"))
          : veyrant_test::kPlacePattern;
  EXPECT_TRUE(std::regex_search(out, std::regex("\n    made at " + place + "\n  --compare ")))
      << out;
  EXPECT_NE(out.find(std::to_string(frames.size()) + " of 120 frames differ\n"), std::string::npos)
      << out;
  // One record changed, not a cascade: the frame's diff is that record, from each side.
  const auto listed = [&run](const char* side) {
    return std::count_if(run.lines.begin(), run.lines.end(),
                         [side](const std::string& line) { return line.starts_with(side); });
  };
  EXPECT_EQ(listed("  - "), 1) << out;
  EXPECT_EQ(listed("  + "), 1) << out;
  EXPECT_NE(out.find("[[61,210,80,255]]"), std::string::npos) << out;

  // The frame from each build, and their difference marked in red, side by side.
  const devhost::Image picture = veyrant_test::ReadPng(veyrant_test::TestFolder() / "d.png");
  ASSERT_EQ(picture.width, 3 * 1920);
  ASSERT_EQ(picture.height, 1080);
  long differing = 0, marked = 0, wrong = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < 1920; ++x) {
      const bool differs =
          !std::equal(picture.Pixel(x, y), picture.Pixel(x, y) + 4, picture.Pixel(1920 + x, y));
      const std::uint8_t* mark = picture.Pixel(3840 + x, y);
      const bool red = mark[0] == 255 && mark[1] == 0 && mark[2] == 0;
      differing += differs;
      marked += red;
      wrong += differs != red;
    }
  EXPECT_GT(differing, 0);
  EXPECT_EQ(marked, differing);
  EXPECT_EQ(wrong, 0);
}

TEST(Compare, RefusesWhatItCannotDoBeforeAnyWork) {
  for (const auto& [arguments, code, message] :
       std::vector<std::tuple<std::string, int, std::string>>{
           {"--compare nothere.so", 1, "nothere.so: file not found"},
           {"--compare x.so --window", 2, "--compare: cannot be combined with --window"},
           {"--compare x.so --video v.mp4", 2, "--compare: cannot be combined with --video"}}) {
    const auto run = Devhost(arguments);
    EXPECT_EQ(run.exitCode, code) << arguments;
    EXPECT_EQ(run.errors.substr(0, run.errors.find('\n')), "pryndal-devhost: " + message);
  }
}

}  // namespace
