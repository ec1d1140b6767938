// The window worked as a person works it: under an X server of the test's own, by a real X client
// (xdotool) pressing keys, typing and dragging, with what the console says read from the terminal
// and what the window shows from its screenshots.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "support/module_places.h"
#include "support/picture.h"
#include "support/x_server.h"

namespace {

using veyrant_test::SpanList;
using veyrant_test::Spans;

constexpr veyrant_test::Rgba kTitleBar{41, 74, 122, 255};

class DrivenWindow : public testing::Test {
 protected:
  static constexpr char kFindWindow[] = "search --onlyvisible --name '^pryndal-devhost$'";

  void SetUp() override {
    VEYRANT_NEEDS("Xvfb xdotool", "xvfb, xdotool");
    if (server_.Display().empty()) GTEST_FAIL() << "Xvfb did not start";
  }

  // Starts the window, 960x540, in the test's folder, with what it writes to standard error in
  // terminal.txt, and gives it the keyboard once it shows.
  void Start(const std::string& options, const std::string& script = "") {
    std::string arguments = "--window --canvas 960x540 " + options;
    if (!script.empty()) {
      std::ofstream(Folder() / "script.txt") << script;
      arguments += " --script script.txt";
    }
    std::filesystem::remove(Folder() / "terminal.txt");
    window_.emplace(
        "exec " + veyrant_test::DevhostCommand(arguments, Display()) + " 2>terminal.txt",
        Folder().string());
    // A minute at most, so that a window that never shows fails the test rather than hangs it.
    for (int tries = 0; tries < 600 && XdotoolStatus(kFindWindow) != 0; ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Xdotool(std::string(kFindWindow) + " windowfocus --sync");
  }

  void Xdotool(const std::string& arguments) {
    EXPECT_EQ(XdotoolStatus(arguments), 0) << arguments;
  }
  void Type(const std::string& text) { Xdotool("type --delay 5 '" + text + "'"); }

  std::string Terminal() const { return veyrant_test::ReadFile(Folder() / "terminal.txt"); }
  // Waits, a minute at most, until the terminal holds text count times.
  bool Shows(const std::string& text, int count = 1) {
    for (int tries = 0; tries < 6000; ++tries) {
      const std::string terminal = Terminal();
      int found = 0;
      for (auto at = terminal.find(text); at != std::string::npos; at = terminal.find(text, at + 1))
        ++found;
      if (found >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << "no '" << text << "' on the terminal:\n" << Terminal();
    return false;
  }
  int Ends() { return window_->Wait(); }

  static std::filesystem::path Folder() { return veyrant_test::TestFolder(); }
  static devhost::Image Shot(const std::string& name) {
    return veyrant_test::ReadPng(Folder() / name);
  }
  // What lies above the console, whose text changes every frame.
  static std::vector<std::uint8_t> Scene(const std::string& name) {
    return veyrant_test::Crop(Shot(name), 960, 390).rgba;
  }

 private:
  std::string Display() const { return "DISPLAY=" + server_.Display(); }
  // exec, so that xdotool itself ends with the test.
  int XdotoolStatus(const std::string& arguments) const {
    return veyrant_test::RunShell("exec env " + Display() + " xdotool " + arguments).status;
  }

  veyrant_test::XServer server_;
  std::optional<veyrant_test::RunningProgram> window_;
};

TEST_F(DrivenWindow, KeyTapsOfAMillisecondStepThePausedSceneOnceEach) {
  Start("",
        "pause\nscreenshot ready.png\nwait veyrant_x \"0.01\"\nscreenshot tapped.png\n"
        "seek frame 10\nscreenshot frame-10.png\nseek frame 9\nscreenshot frame-9.png\nquit\n");
  ASSERT_TRUE(Shows("wrote ready.png"));
  std::string taps;
  for (int i = 0; i < 10; ++i) taps += " keydown Right sleep 0.001 keyup Right sleep 0.001";
  Xdotool(taps);
  // A console line, typed at once after Enter takes the line, says when the taps are through.
  Xdotool("key Return");
  Type("veyrant_x");
  Xdotool("key Return");
  ASSERT_EQ(Ends(), 0) << Terminal();
  EXPECT_TRUE(Shows("> step 1   [Right]\n", 10));
  EXPECT_TRUE(Scene("tapped.png") == Scene("frame-10.png"));
  EXPECT_TRUE(Scene("tapped.png") != Scene("frame-9.png"));
}

// help and cvarlist, Tab and the history, errors with the nearest name, Esc leaving the line with
// what it holds, then Esc in the scene; the history kept for the next window.
TEST_F(DrivenWindow, TheConsoleLineTeachesCompletesAndRemembersAcrossRuns) {
  Start("--config c.cfg");
  Xdotool("key Return");
  Type("help");
  Xdotool("key Return");
  EXPECT_TRUE(
      Shows("\n  seek frame N          jump to frame N, numbered as the trace numbers frames\n"));
  EXPECT_TRUE(Shows("\n  Tab                   in the console line: complete a command, variable"));
  Type("cvarlist scale");
  Xdotool("key Return");
  EXPECT_TRUE(Shows("\nveyrant_scale  \"1.0\"  default \"1.0\"  Size scale\n"));
  Type("veyrant_s");
  Xdotool("key Tab");
  EXPECT_TRUE(Shows("\nveyrant_scale  veyrant_steer\n"));
  Type("c");
  Xdotool("key Tab");
  Type("2");
  Xdotool("key Return");
  Type("veyrant_sacle");
  Xdotool("key Return");
  EXPECT_TRUE(
      Shows("\nerror: unknown command or variable: veyrant_sacle; did you mean veyrant_scale?\n"));
  Xdotool("key Up Up Return");
  EXPECT_TRUE(Shows("\n> veyrant_scale 2\n", 2));
  Type("kept");
  Xdotool("key Escape space");
  EXPECT_TRUE(Shows("\n> pause   [Space]\n"));
  Xdotool("key Return");
  Xdotool("key Return");
  EXPECT_TRUE(Shows("\n> kept\n"));
  Xdotool("key Escape Escape");
  ASSERT_EQ(Ends(), 0) << Terminal();
  EXPECT_TRUE(Shows("\n> quit   [Esc]\n"));
  EXPECT_NE(veyrant_test::ReadFile(Folder() / "c.cfg").find("veyrant_scale \"2\"\n"),
            std::string::npos);
  const auto history = std::filesystem::path(Folder().string() + ".state") / "pryndal-devhost";
  EXPECT_EQ(veyrant_test::ReadFile(history / "history"),
            "help\ncvarlist scale\nveyrant_scale 2\nveyrant_sacle\nveyrant_scale 2\nkept\n");
  EXPECT_EQ(std::filesystem::status(history).permissions(), std::filesystem::perms::owner_all);

  Start("");
  Xdotool("key Return Up Up Return");
  EXPECT_TRUE(Shows("\n> veyrant_scale 2\n"));
  Xdotool("key Escape Escape");
  EXPECT_EQ(Ends(), 0) << Terminal();
}

// F1 opens the settings window clear of the panel at its default place; dragged by its title it
// stays where it was put, also when hidden and shown again.
TEST_F(DrivenWindow, TheSettingsWindowLeavesThePanelInViewAndStaysWhereItIsPut) {
  Start("", "pause\n");
  ASSERT_TRUE(Shows("> pause\n"));
  Xdotool("key F12");
  ASSERT_TRUE(Shows("wrote screenshot-001.png"));
  Xdotool("key F1 F12");
  ASSERT_TRUE(Shows("wrote screenshot-002.png"));
  Xdotool(std::string(kFindWindow) +
          " mousemove --window %1 500 29 mousedown 1 sleep 0.2 mousemove --window %1 400 199 "
          "sleep 0.2 mouseup 1 sleep 0.2 key F12");
  ASSERT_TRUE(Shows("wrote screenshot-003.png"));
  Xdotool("key F1 F1 F12");
  ASSERT_TRUE(Shows("wrote screenshot-004.png"));
  Xdotool("key Escape");
  ASSERT_EQ(Ends(), 0) << Terminal();
  // The panel, at (9, 10) and 240 wide, as it was.
  EXPECT_TRUE(veyrant_test::Crop(Shot("screenshot-001.png"), 300, 160).rgba ==
              veyrant_test::Crop(Shot("screenshot-002.png"), 300, 160).rgba);
  EXPECT_EQ(Spans(Shot("screenshot-001.png"), 22, kTitleBar), SpanList());
  EXPECT_EQ(Spans(Shot("screenshot-002.png"), 22, kTitleBar), SpanList({{304, 938}}));
  for (const char* moved : {"screenshot-003.png", "screenshot-004.png"})
    EXPECT_EQ(Spans(Shot(moved), 192, kTitleBar), SpanList({{204, 838}})) << moved;
}

// F2 pauses and inspects: a click on the throttle bar's track lists the calls that drew that pixel,
// the topmost outlined on the canvas, and `trace FILE` writes the frame's records with places.
TEST_F(DrivenWindow, TheInspectorTellsWhatDrewAClickedPixelAndWritesTheFrame) {
  Start("", "pause\n");
  ASSERT_TRUE(Shows("> pause\n"));
  Xdotool("key F2");
  ASSERT_TRUE(Shows("inspect: click a pixel"));
  Xdotool(std::string(kFindWindow) + " mousemove --window %1 60 48 click 1");
  ASSERT_TRUE(Shows("pixel 60,48 of frame "));
  // The track, at (53, 44), 188 x 10; the panel's background under it.
  EXPECT_TRUE(Shows("\n  call 42 CanvasWrapper::FillBox [[188,10]] at 53,44 in [20,20,20,220], " +
                    std::string(veyrant_test::kModuleHasDebugInfo ? "src/overlay/draw_bar.cpp:"
                                                                  : "Veyrant.so+0x")));
  EXPECT_TRUE(Shows("CanvasWrapper::FillBox [[240,115]] at 9,10 in [12,12,18,220]"));
  Xdotool("key F12");
  ASSERT_TRUE(Shows("wrote screenshot-001.png"));
  Xdotool("key Return");
  Type("trace frame.jsonl");
  Xdotool("key Return");
  ASSERT_TRUE(Shows("wrote frame.jsonl"));
  Xdotool("key Escape Escape");
  ASSERT_EQ(Ends(), 0) << Terminal();
  EXPECT_FALSE(Spans(Shot("screenshot-001.png"), 43, {255, 230, 0, 255}).empty());
  std::istringstream records(veyrant_test::ReadFile(Folder() / "frame.jsonl"));
  int calls = 0;
  for (std::string line; std::getline(records, line);) {
    EXPECT_NE(line.find("\"phase\":\"frame\""), std::string::npos) << line;
    if (line.find("\"op\":") == std::string::npos) continue;
    ++calls;
    EXPECT_NE(line.find(std::string(",\"at\":\"") + veyrant_test::kPlaceStart), std::string::npos)
        << line;
  }
  EXPECT_GT(calls, 50);
}

}  // namespace
