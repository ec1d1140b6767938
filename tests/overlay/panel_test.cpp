// One car's panel as drawn through the real module: every draw call at scale 1, the metrics at
// other scales, the rows and cells with elements switched off, and the bar fills.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/canvas_listing.h"
#include "support/loaded_plugin.h"

namespace {

using veyrant_test::DrawLines;
using Settings = std::vector<std::pair<std::string, std::string>>;

// One car alone, so its panel is at the default origin (19, 21) of a 1920 x 1080 canvas.
std::vector<devhost::CanvasCall> DrawOne(const std::string& carKey, const Settings& settings = {},
                                         const std::string& name = "Ayla") {
  veyrant_test::LoadedPlugin plugin;
  const std::string key = carKey.empty() ? "" : ", " + carKey;
  plugin.UseScene(R"({"cars": [{"name": ")" + name + R"(", "keys": [{"t": 0)" + key + "}]}]}");
  for (const auto& [variable, value] : settings) plugin.Set(variable, value);
  plugin.ClearRecords();
  plugin.RunFrames(1);
  return plugin.CanvasCalls();
}

TEST(Panel, EveryDrawCallAtScaleOne) {
  const auto calls = DrawOne(R"("throttle": 1, "steer": -0.25, "boost": true)");
  EXPECT_EQ(DrawLines(calls),
            (std::vector<std::string>{
                "fill 19,21 240x115 12,12,18,220",      "box 19,21 240x115 50,50,70,180",
                "fill 19,21 240x26 20,20,55,255",       "text 27,26 1.1 150,200,255,255 Ayla",
                "text 27,56 0.85 100,100,100,200 THR",  "fill 63,55 188x10 20,20,20,220",
                "fill 156,55 2x10 80,80,80,255",        "fill 157,55 94x10 60,210,80,255",
                "text 27,71 0.85 100,100,100,200 STR",  "fill 63,70 188x10 20,20,20,220",
                "fill 156,70 2x10 80,80,80,255",        "fill 134,70 23x10 80,150,255,255",
                "text 27,86 0.85 100,100,100,200 ROLL", "fill 63,85 188x10 20,20,20,220",
                "fill 156,85 2x10 80,80,80,255",        "fill 27,103 72x20 220,140,0,255",
                "box 27,103 72x20 60,60,60,180",        "text 45,105 0.9 255,255,255,255 BOOST",
                "fill 103,103 72x20 35,35,35,200",      "box 103,103 72x20 60,60,60,180",
                "text 124,105 0.9 90,90,90,255 JUMP",   "fill 179,103 72x20 35,35,35,200",
                "box 179,103 72x20 60,60,60,180",       "text 207,105 0.9 90,90,90,255 HB",
            }));
  // Each primitive sets colour and position before each thing it draws.
  int sizeQueries = 0;
  for (const auto& call : calls)
    sizeQueries += call.kind == devhost::CanvasCall::Kind::GetStringSize;
  EXPECT_EQ(sizeQueries, 3);  // the cell labels only: values are off
}

struct Metrics {
  const char* scale;
  int width, height, margin, barHeight, rowGap, indicatorHeight, headerHeight, labelWidth, barWidth,
      cellWidth, indicatorDrop, indicatorGap;
};

class PanelAtScale : public testing::TestWithParam<Metrics> {};

TEST_P(PanelAtScale, SizesFollowTheScale) {
  const Metrics& m = GetParam();
  const auto fills = DrawLines(DrawOne(R"("throttle": 0)", {{"veyrant_scale", m.scale}}), "fill");
  auto has = [&fills](int x, int y, int w, int h) {
    const std::string at = "fill " + std::to_string(x) + "," + std::to_string(y) + " " +
                           std::to_string(w) + "x" + std::to_string(h) + " ";
    for (const auto& line : fills)
      if (line.rfind(at, 0) == 0) return true;
    return false;
  };
  EXPECT_TRUE(has(19, 21, m.width, m.height)) << fills.front();
  EXPECT_TRUE(has(19, 21, m.width, m.headerHeight));
  const int firstRow = 21 + m.headerHeight + m.margin;
  const int rowStep = m.barHeight + m.rowGap;
  for (int row = 0; row < 3; ++row)
    EXPECT_TRUE(
        has(19 + m.margin + m.labelWidth, firstRow + row * rowStep, m.barWidth, m.barHeight))
        << "row " << row;
  const int cellTop = firstRow + 3 * rowStep + m.indicatorDrop;
  for (int cell = 0; cell < 3; ++cell)
    EXPECT_TRUE(has(19 + m.margin + cell * (m.cellWidth + m.indicatorGap), cellTop, m.cellWidth,
                    m.indicatorHeight))
        << "cell " << cell;
}

INSTANTIATE_TEST_SUITE_P(
    Scales, PanelAtScale,
    testing::Values(Metrics{"0.5", 120, 56, 4, 5, 2, 10, 13, 18, 94, 36, 1, 2},
                    Metrics{"1", 240, 115, 8, 10, 5, 20, 26, 36, 188, 72, 3, 4},
                    Metrics{"1.1", 264, 122, 8, 11, 5, 22, 28, 39, 209, 80, 3, 4},
                    Metrics{"3", 720, 345, 24, 30, 15, 60, 78, 108, 564, 216, 9, 12}));

struct Shown {
  Settings off;
  int height;
  std::vector<std::string> labels;  // every text after the header, in order
  std::vector<std::string> cells;   // the cell fills
};

class PanelWithElementsOff : public testing::TestWithParam<Shown> {};

TEST_P(PanelWithElementsOff, RowsAndCellsCloseUp) {
  Settings settings;
  for (const auto& [name, value] : GetParam().off) settings.push_back({name, value});
  const auto calls = DrawOne(R"("jump": true)", settings);
  const auto fills = DrawLines(calls, "fill");
  EXPECT_EQ(fills.front(), "fill 19,21 240x" + std::to_string(GetParam().height) + " 12,12,18,220");
  std::vector<std::string> labels, cells;
  for (const auto& line : DrawLines(calls, "text"))
    labels.push_back(line.substr(line.rfind(' ') + 1));
  labels.erase(labels.begin());
  for (const auto& line : fills)
    if (line.find("x20 ") != std::string::npos) cells.push_back(line.substr(5));
  EXPECT_EQ(labels, GetParam().labels);
  EXPECT_EQ(cells, GetParam().cells);
}

const Settings kBarsOff{{"veyrant_throttle", "0"}, {"veyrant_steer", "0"}, {"veyrant_roll", "0"}};
const Settings kCellsOff{{"veyrant_boost", "0"}, {"veyrant_jump", "0"}, {"veyrant_hb", "0"}};
Settings Both(Settings a, const Settings& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    Elements, PanelWithElementsOff,
    testing::Values(Shown{Both(kBarsOff, kCellsOff), 42, {}, {}},
                    Shown{kCellsOff, 87, {"THR", "STR", "ROLL"}, {}},
                    Shown{kBarsOff,
                          70,
                          {"BOOST", "JUMP", "HB"},
                          {"27,58 72x20 35,35,35,200", "103,58 72x20 140,140,230,255",
                           "179,58 72x20 35,35,35,200"}},
                    Shown{{{"veyrant_jump", "0"}, {"veyrant_hb", "0"}},
                          115,
                          {"THR", "STR", "ROLL", "BOOST"},
                          {"27,103 224x20 35,35,35,200"}},
                    Shown{{{"veyrant_boost", "0"}},
                          115,
                          {"THR", "STR", "ROLL", "JUMP", "HB"},
                          {"27,103 110x20 140,140,230,255", "141,103 110x20 35,35,35,200"}},
                    Shown{{{"veyrant_throttle", "0"},
                           {"veyrant_steer", "0"},
                           {"veyrant_boost", "0"},
                           {"veyrant_jump", "0"},
                           {"veyrant_hb", "0"}},
                          57,
                          {"ROLL"},
                          {}}));

TEST(Panel, RollAloneIsTheFirstRow) {
  const auto calls = DrawOne("", Both({{"veyrant_throttle", "0"}, {"veyrant_steer", "0"}}, {}));
  EXPECT_EQ(DrawLines(calls, "text")[1], "text 27,56 0.85 100,100,100,200 ROLL");
}

TEST(Panel, HeaderShowsUnknownForAnEmptyNameAndLongNamesUnclipped) {
  for (const auto& [name, shown] : {std::pair<std::string, std::string>{"", "Unknown"},
                                    {"Q", "Q"},
                                    {std::string(80, 'W'), std::string(80, 'W')}})
    EXPECT_EQ(DrawLines(DrawOne("", {}, name), "text")[0],
              "text 27,26 1.1 150,200,255,255 " + shown);
}

struct Fill {
  const char* throttle;
  std::string fill;  // the THR fill after track and mark; empty for none
  std::string text;  // the value text
};

class BarFill : public testing::TestWithParam<Fill> {};

TEST_P(BarFill, FromTheCentreInProportion) {
  const auto calls =
      DrawOne(std::string(R"("throttle": )") + GetParam().throttle, {{"veyrant_values", "1"}});
  std::vector<std::string> thrFills, texts;
  for (const auto& line : DrawLines(calls, "fill"))
    if (line.find(",55 ") != std::string::npos) thrFills.push_back(line);
  for (const auto& line : DrawLines(calls, "text"))
    if (line.find(" 0.75 ") != std::string::npos) texts.push_back(line);
  ASSERT_GE(thrFills.size(), 2u);
  EXPECT_EQ(thrFills.size() > 2 ? thrFills[2] : "", GetParam().fill);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].substr(texts[0].rfind(' ') + 1), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, BarFill,
    testing::Values(Fill{"0", "", "0%"}, Fill{"1", "fill 157,55 94x10 60,210,80,255", "100%"},
                    Fill{"-1", "fill 63,55 94x10 220,70,60,255", "-100%"},
                    Fill{"0.5", "fill 157,55 47x10 60,210,80,255", "50%"},
                    Fill{"-0.25", "fill 134,55 23x10 220,70,60,255", "-25%"},
                    Fill{"0.999", "fill 157,55 93x10 60,210,80,255", "100%"},
                    Fill{"-0.003", "fill 157,55 0x10 220,70,60,255", "-0%"},
                    Fill{"3", "fill 157,55 282x10 60,210,80,255", "300%"},
                    // The value text is cut at 15 characters; the fill saturates.
                    Fill{"1e30", "fill 157,55 2147483647x10 60,210,80,255", "100000003318135"}));

TEST(BarFill, ValueTextCentredOnTheTrack) {
  const auto texts = DrawLines(DrawOne(R"("throttle": 1)", {{"veyrant_values", "1"}}), "text");
  // "100%": 4 characters of 8 x 0.75 = 24 wide and 12 high, over a track of 188 x 10.
  EXPECT_EQ(texts[2], "text 145,54 0.75 220,220,220,220 100%");
}

}  // namespace
