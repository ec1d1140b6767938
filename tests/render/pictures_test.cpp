// Pictures pryndal-devhost writes, run as the program: panels against committed reference
// pictures (refresh them on purpose with scripts/update-golden) and, where the geometry is the
// point, against the pixels each colour must cover, which a refreshed reference cannot wave
// through; the picture options; the window worked through --script, one command a frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "support/picture.h"
#include "support/x_server.h"

namespace {

using veyrant_test::Devhost;
using veyrant_test::Rgba;
using veyrant_test::SpanList;
using veyrant_test::Spans;

// Scenes under tests/scenes. One car, followed by the camera, airborne and rolling, with boost and
// handbrake held; and four cars and a camera that follows none: one panel each, 107 rows apart.
constexpr char kOneCar[] = "one-car-airborne.json", kFourCars[] = "four-cars-each-input.json";

constexpr Rgba kBorder{40, 40, 56, 245}, kHeader{20, 20, 55, 255}, kBrake{220, 70, 60, 255},
    kThrottle{60, 210, 80, 255}, kSteer{80, 150, 255, 255}, kRoll{255, 100, 200, 255},
    kBoost{220, 140, 0, 255}, kJump{140, 140, 230, 255}, kTitleBar{41, 74, 122, 255};

using Row = std::tuple<int, Rgba, SpanList>;  // y, a colour and where on that row it lies

// A track spans x 53..240 with its centre at 147: throttle fills from the centre, brake up to
// it. Cells are 72 pixels wide, 4 apart.
const std::vector<Row> kFullFills = {{44, kThrottle, {{147, 240}}},
                                     {151, kBrake, {{53, 146}}},
                                     {93, kBoost, {{18, 87}}},
                                     {307, kJump, {{94, 163}}}};
// A one-pixel outline, even at its corners.
const std::vector<Row> kOutline = {{69, kBorder, {{9, 9}, {248, 248}}}, {124, kBorder, {{9, 248}}}};
// The page's actions are done before the picture: the panel moved right of the window and shows
// ROLL where STR was.
const std::vector<Row> kAfterClickingSteer = {{63, kSteer, {}}, {63, kRoll, {{829, 875}}}};

struct GoldenCase {
  const char* name;
  const char* scene;
  const char* options;
  int width, height;  // the panel's corner at (9, 10), 8 pixels of backdrop round it
  std::vector<Row> rows = {};
  bool reference = true;
};

// The same references hold for each of Mesa's software rasterisers: llvmpipe at both of its vector
// widths, and softpipe, which shares no code with it on the way to a pixel.
struct Rasteriser {
  const char* name;
  const char* environment;
};

class Golden : public testing::TestWithParam<std::tuple<GoldenCase, Rasteriser>> {};

TEST_P(Golden, MatchesTheReferencePicture) {
  const auto& [c, rasteriser] = GetParam();
  const devhost::Image picture = veyrant_test::Crop(
      veyrant_test::Picture(c.scene, std::string("--canvas 960x540 ") + c.options,
                            rasteriser.environment),
      c.width, c.height);
  EXPECT_EQ(c.reference ? veyrant_test::CompareWithGolden(picture, c.name) : "", "");
  for (const auto& [y, colour, spans] : c.rows)
    EXPECT_EQ(Spans(picture, y, colour), spans) << "row " << y << ", red " << colour[0];
}

INSTANTIATE_TEST_SUITE_P(
    Panels, Golden,
    testing::Combine(
        testing::Values(
            GoldenCase{"full_panel", kOneCar, "", 257, 133},
            GoldenCase{"elements_off", kOneCar,
                       "--set veyrant_throttle=0 --set veyrant_roll=0 --set veyrant_jump=0", 257,
                       103},
            GoldenCase{"four_panels", kFourCars, "", 257, 454, kFullFills},
            GoldenCase{"values_on", kOneCar, "--set veyrant_values=1", 257, 133},
            GoldenCase{"scale_0_5", kOneCar, "--set veyrant_scale=0.5", 137, 74},
            GoldenCase{"scale_3", kOneCar, "--set veyrant_scale=3", 737, 363},
            GoldenCase{"transparent", kOneCar, "--transparent", 257, 133, kOutline},
            GoldenCase{"settings_defaults", kOneCar, "--settings", 657, 460},
            GoldenCase{"settings_actions", kOneCar, "--settings --set veyrant_x=0.72 --click Steer",
                       960, 80, kAfterClickingSteer, false}),
        testing::Values(Rasteriser{"llvmpipe_128", "LP_NATIVE_VECTOR_WIDTH=128"},
                        Rasteriser{"llvmpipe_256", "LP_NATIVE_VECTOR_WIDTH=256"},
                        Rasteriser{"softpipe", "GALLIUM_DRIVER=softpipe"})),
    [](const auto& param) {
      return std::string(std::get<0>(param.param).name) + "_" + std::get<1>(param.param).name;
    });

devhost::Image Png(const std::string& name) {
  return veyrant_test::ReadPng(veyrant_test::TestFolder() / name);
}

std::string Bytes(const std::string& name) {
  return veyrant_test::ReadFile(veyrant_test::TestFolder() / name);
}

TEST(PictureOptions, PngDirWritesEachFrameUnderItsNumberAsPngWritesTheLast) {
  // More frames than the writer holds at once, so that the pictures' memory is used again.
  constexpr int kFrames = 8;
  const std::string options = "--canvas 320x180 --time 2 --set veyrant_values=1 ";
  ASSERT_EQ(Devhost(options + "--frames " + std::to_string(kFrames) + " --png-dir seq").exitCode,
            0);
  const auto frame = [](int k) {
    char name[32];
    std::snprintf(name, sizeof name, "seq/frame-%05d.png", k);
    return Bytes(name);
  };
  for (int k = 1; k < kFrames; ++k) EXPECT_NE(frame(k), frame(k - 1)) << k;  // the demo moves
  EXPECT_EQ(frame(kFrames), "");
  for (const int k : {0, kFrames - 1}) {
    ASSERT_EQ(Devhost(options + "--frames " + std::to_string(k + 1) + " --png last.png").exitCode,
              0);
    EXPECT_EQ(Bytes("last.png"), frame(k)) << k;
  }
  const devhost::Image image = Png("last.png");
  EXPECT_EQ(std::vector<int>({image.width, image.height, image.Pixel(0, 0)[3]}),
            std::vector<int>({320, 180, 255}));  // the backdrop is opaque
}

TEST(PictureOptions, AWindowWithoutADisplayIsRefusedBeforeLoading) {
  const auto outcome = Devhost("--window", "-u DISPLAY");
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_TRUE(outcome.errors.starts_with("pryndal-devhost: --window: no display ("))
      << outcome.errors;  // and nothing before it: the plugin is not loaded
}

// Each text drawn with the size GetStringSize gave just before, as the trace tells it: the last box
// filled (a cell) and the text's box, each as {x, y, width, height}.
using Box = std::array<double, 4>;
std::vector<std::pair<Box, Box>> MeasuredTexts(const std::string& trace) {
  std::vector<std::pair<Box, Box>> texts;
  std::ifstream in(veyrant_test::TestFolder() / trace);
  Box at{}, cell{}, size{};
  for (std::string line; std::getline(in, line);) {
    const auto record = nlohmann::json::parse(line);
    if (!record.contains("op")) continue;  // the host's own calls into the plugin
    const auto& op = record["op"];
    const auto& args = record["args"];
    if (op == "CanvasWrapper::SetPosition") at = {args[0][0], args[0][1]};
    if (op == "CanvasWrapper::FillBox") cell = {at[0], at[1], args[0][0], args[0][1]};
    if (op == "CanvasWrapper::GetStringSize") size = {record["result"][0], record["result"][1]};
    if (op == "CanvasWrapper::DrawString" && size[1] > 0) {
      texts.push_back({cell, {at[0], at[1], size[0], size[1]}});
      size = {};
    }
  }
  return texts;
}

// The cells' labels (BOOST; JUMP, whose J reaches below the line and left of its pen; HB),
// centred by their measure: what is painted lies inside it and fills it but for the bearings.
class MeasuredText : public testing::TestWithParam<const char*> {};

TEST_P(MeasuredText, CoversWhatIsPainted) {
  const devhost::Image picture = veyrant_test::Picture(
      kOneCar,
      std::string("--canvas 960x540 --transparent --trace trace.jsonl --set veyrant_scale=") +
          GetParam());
  const auto texts = MeasuredTexts("trace.jsonl");
  ASSERT_EQ(texts.size(), 3u);
  for (const auto& [cell, text] : texts) {
    // Inside the cell's outline all is its fill but the label, painted over [left, right) x
    // [top, bottom).
    const std::uint8_t* fill = picture.Pixel(int(cell[0]) + 1, int(cell[1]) + 1);
    double left = picture.width, right = 0, top = picture.height, bottom = 0;
    for (int y = int(cell[1]) + 1; y < int(cell[1] + cell[3]) - 1; ++y)
      for (int x = int(cell[0]) + 1; x < int(cell[0] + cell[2]) - 1; ++x)
        if (!std::equal(fill, fill + 4, picture.Pixel(x, y))) {
          left = std::min(left, x + 0.0), right = std::max(right, x + 1.0);
          top = std::min(top, y + 0.0), bottom = std::max(bottom, y + 1.0);
        }
    const auto [x, y, width, height] = text;
    SCOPED_TRACE("text at " + std::to_string(x) + "," + std::to_string(y));
    EXPECT_TRUE(left >= x && right <= x + width && top >= y && bottom <= y + height)
        << "painted " << left << ".." << right << " x " << top << ".." << bottom;
    // The bearings of these letters are at most an eighth of the line; a line has room above the
    // capitals and below them for descenders.
    EXPECT_LE(left - x + (x + width - right), height / 8 + 1);
    EXPECT_LE(top - y + (y + height - bottom), height / 2);
  }
}

INSTANTIATE_TEST_SUITE_P(OverlayScales, MeasuredText, testing::Values("0.5", "1", "2.3", "3.3"));

class Window : public testing::Test {
 protected:
  void SetUp() override { VEYRANT_NEEDS("Xvfb", "xvfb"); }
  veyrant_test::ProgramRun Run(const std::string& script, const std::string& options = "") {
    if (server_.Display().empty()) return {-1, {}, "Xvfb did not start"};
    std::ofstream(veyrant_test::TestFolder() / "script.txt") << script;
    return Devhost("--window --canvas 800x450 --script script.txt " + options,
                   "DISPLAY=" + server_.Display());
  }

 private:
  veyrant_test::XServer server_;
};

TEST_F(Window, ScriptedCommandsMoveTheClockAndShowWhatTheySay) {
  // Screenshots of the same scene time reached in different ways.
  const auto outcome =
      Run("pause\nseek 0.25\nscreenshot at-0.25.png\n"
          "seek -1\nstep 15\nscreenshot from-below-0.png\n"      // seek stops at 0
          "step -30\nstep 15\nscreenshot stepped-below-0.png\n"  // and so does step
          "seek 6\nstep 15\nscreenshot at-6.25.png\n"
          "seek 6.25\nstep\nstep -1\nscreenshot one-step-and-back.png\n"
          "seek 9.5\nscreenshot at-9.5.png\n"
          "seek 25\nstep -30\nscreenshot from-beyond-the-end.png\n"  // seek stops at the end
          "seek 10\nscreenshot at-the-end.png\n"
          "play\n\n\nstep 1\nscreenshot looped.png\n\nscreenshot still-looped.png\n"
          "veyrant_scale 2\nscreenshot scale-2.png\nsettings\nscreenshot settings.png\n"
          "wait wrote settings.png\n  quit  \n");  // what the line before logged counts
  ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
  ASSERT_EQ(Png("at-0.25.png").width, 800);
  // Above the console, whose text changes every frame.
  const auto shot = [](const char* name) { return veyrant_test::Crop(Png(name), 800, 300).rgba; };
  EXPECT_TRUE(shot("from-below-0.png") == shot("at-0.25.png"));
  EXPECT_TRUE(shot("stepped-below-0.png") == shot("at-0.25.png"));
  EXPECT_TRUE(shot("one-step-and-back.png") == shot("at-6.25.png"));
  EXPECT_TRUE(shot("from-beyond-the-end.png") == shot("at-9.5.png"));
  EXPECT_TRUE(shot("looped.png") != shot("at-the-end.png")) << "play did not play from the end";
  EXPECT_TRUE(shot("looped.png") == shot("still-looped.png")) << "step did not pause";
  // At scale 2 the header band spans x 8..487, rows 9..60; the plugin's window opens at the
  // window's right.
  EXPECT_EQ(Spans(Png("scale-2.png"), 60, kHeader), SpanList({{8, 487}}));
  EXPECT_EQ(Spans(Png("settings.png"), 22, kTitleBar), SpanList({{144, 778}}));  // its title
}

// Once the window has written the screenshot (a minute at most), a build replaces the module as
// a linker does: the new file written beside it, then renamed over it.
void ReplaceAfter(const std::filesystem::path& screenshot, const std::filesystem::path& module,
                  const std::string& build) {
  for (int i = 0; i < 600 && !std::filesystem::exists(screenshot); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::filesystem::copy_file(build, module.string() + ".new");
  std::filesystem::rename(module.string() + ".new", module);
}

TEST_F(Window, WatchSwitchesToARebuiltModuleAndKeepsRunningThroughABrokenOne) {
  const auto folder = veyrant_test::TestFolder();
  const auto module = folder / "Veyrant.so";
  std::filesystem::copy_file(VEYRANT_MODULE_PATH, module);
  std::thread build([&folder, &module] {
    ReplaceAfter(folder / "before.png", module, VEYRANT_MODULE_PATH);
    ReplaceAfter(folder / "switched.png", module, VEYRANT_FIXTURE_DIR "/fixture_no_getplugin.so");
  });
  // The scene stopped where the camera follows no car (four panels; one at its start), at scale 2.
  const auto outcome =
      Run("veyrant_scale 2\nseek 6.25\npause\nscreenshot before.png\nwait reloaded Veyrant.so\n"
          "screenshot switched.png\nwait Veyrant.so: missing export getPlugin\n"
          "screenshot refused.png\nquit\n",
          "--watch --plugin Veyrant.so");
  build.join();
  ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
  // The terminal has what the console shows: each line run, what it said, the plugin's log (it
  // loads once at the start and once for the one good replacement), the reload and its refusal.
  EXPECT_EQ(outcome.errors,
            "Veyrant loaded\n> veyrant_scale 2\n> seek 6.25\n> pause\n> screenshot before.png\n"
            "wrote before.png\n> wait reloaded Veyrant.so\nVeyrant loaded\nreloaded Veyrant.so\n"
            "> screenshot switched.png\nwrote switched.png\n"
            "> wait Veyrant.so: missing export getPlugin\n"
            "error: plugin reload: Veyrant.so: missing export getPlugin\n"
            "> screenshot refused.png\nwrote refused.png\n> quit\n");
  const auto shot = [](const char* name) { return veyrant_test::Crop(Png(name), 800, 300).rgba; };
  EXPECT_EQ(Spans(Png("before.png"), 60, kHeader), SpanList({{8, 487}}));
  EXPECT_TRUE(shot("switched.png") == shot("before.png"));
  EXPECT_TRUE(shot("refused.png") == shot("before.png"));
}

// A build that faults in its first frame costs its drawing: the window goes on, the next build
// written over it draws, and what was set before the fault is saved at quit.
TEST_F(Window, OutlivesAFaultingBuildAndLoadsTheNextWithTheSettingsKept) {
  const auto folder = veyrant_test::TestFolder();
  const auto module = folder / "plugin.so";
  std::filesystem::copy_file(VEYRANT_FIXTURE_DIR "/fixture_faulting.so", module);
  std::ofstream(folder / "c.cfg") << "# mine\n";
  std::thread build(
      [&folder, &module] { ReplaceAfter(folder / "faulted.png", module, VEYRANT_MODULE_PATH); });
  const auto outcome =
      Run("wait Fixture faulted\nscreenshot faulted.png\nwait reloaded plugin.so\n"
          "veyrant_scale 2\nseek 6.25\npause\nscreenshot good.png\nquit\n",
          "--watch --plugin plugin.so --config c.cfg --set fixture_value=7");
  build.join();
  ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
  EXPECT_NE(outcome.errors.find("Fixture faulted in FaultIf: SIGSEGV, a write to address 0x0\n"),
            std::string::npos)
      << outcome.errors;
  EXPECT_EQ(Spans(Png("good.png"), 60, kHeader), SpanList({{8, 487}}));
  const std::string saved = veyrant_test::ReadFile(folder / "c.cfg");
  EXPECT_TRUE(saved.starts_with("# mine\n")) << saved;
  EXPECT_NE(saved.find("\nfixture_value \"7\"\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\nveyrant_scale \"2\"\n"), std::string::npos) << saved;
}

// What each line says is the command language's own test; here, that a failing line ends the
// window naming it.
TEST_F(Window, AFailingScriptLineStopsTheProgramNamingIt) {
  const auto outcome = Run("pause\nstep 1.5\nquit\n");
  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_NE(outcome.errors.find("script.txt:2: step: expected a whole number of frames, got '1.5'"),
            std::string::npos)
      << outcome.errors;
}

}  // namespace
