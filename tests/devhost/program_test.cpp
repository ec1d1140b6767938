// The pryndal-devhost program as people run it: which command lines it takes, what they do, and
// its exit code and error line for the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

struct Case {
  std::string arguments;
  int status;
  // A refusal's line after the program's name starts with it; another printed line ends with it.
  std::string text;
  int times = 1;  // how many lines are printed so
};

std::string Scene(const char* name) { return std::string(VEYRANT_SCENE_DIR) + "/" + name; }

// The loader's refusals, with the trace on: the module is not called.
Case Load(const std::string& path, const char* error) {
  return {"--trace - --plugin " + path, 1, path + ": " + error};
}
Case LoadFixture(const char* name, const char* error) {
  return Load(std::string(VEYRANT_FIXTURE_DIR "/") + name + VEYRANT_MODULE_SUFFIX, error);
}

TEST(Program, ExitsWithItsCodeAndPrintsTheLine) {
  std::vector<Case> cases = {
      // The value splits at the first '='; --exec prints what the console prints.
      {"--set veyrant_x=0.5=a --exec veyrant_x", 0, R"(veyrant_x "0.5=a")"},
      // --opt=value as --opt value, and --set and --exec run in the order given.
      {"--exec=veyrant_y --set=veyrant_y= --exec veyrant_y", 0, R"(veyrant_y "0.02")"},
      {"--canvas=800x600 --trace -", 0, R"("result":[800,600]})"},
      // The settings page is found and run; then every variable is printed.
      {"--settings-frames 1", 0, "veyrant_y 0.02"},
      // The demo's camera follows no car after 5 s.
      {"--frames 3 --time 6 --trace -", 0,
       R"(ViewTarget","self":"camera","args":[],"result":null})", 3},
      {"--scene " + Scene("four-cars-third-followed.json") + " --trace -", 0,
       R"(GetViewTarget","self":"camera","args":[],"result":"car:2"})"},
      // One panel for each of the four cars, as README shows it.
      {"--scene " + Scene("four-cars-free.json") + " --set veyrant_scale=1.1 --trace -", 0,
       R"("op":"CanvasWrapper::FillBox","self":"canvas","args":[[264,122]]})", 4},
      // The page's actions: a click writes on its release frame; drag and type run in order.
      {"--settings-frames 3 --click Steer --trace -", 0,
       R"("frame":2,"op":"CVarWrapper::setValue","self":"cvar:veyrant_steer","args":[0]})"},
      {R"(--drag "X (%)=12.5" --type "X (%)=150")", 0, "veyrant_x 1.5"},
      {"--help", 0, "usage: pryndal-devhost [options]"},
      // Ends with what the console takes, and where to read more.
      {"-h", 0,
       "The options, the console, the window, the scene and trace formats: docs/devhost.md"},
      {"--version", 0, "pryndal-devhost 1.0, for plugins of interface version 95"},
      // help and cvarlist are console lines, so --exec has them: the console's lines, the window's
      // commands and the keys, one a line; the variables sorted, with value, default and
      // description.
      {"--exec help", 0,
       "  plugin reload PLUGIN  load its module file anew, keeping the variables' values"},
      {"--set veyrant_scale=50 --exec \"cvarlist SCALE\"", 0,
       R"(veyrant_scale  "50"  default "1.0"  Size scale)"},
      {"--exec cvarlist", 0, R"(veyrant_boost     "1"     default "1"     Show boost)"},
      {"--exec cvarlist", 0, "  default \"0.02\"  Y position (0-1)", 1},
      {"--exec \"cvarlist zz\"", 0, R"(cvarlist: no variable's name holds "zz")"},
      {"--frobnicate", 2, "unknown option: --frobnicate"},
      {"--frames", 2, "--frames: expected N after it"},
      {"--frames=2x", 2, "--frames: expected a whole number of at least 0, got '2x'"},
      {"--canvas 1920", 2, "--canvas: expected WIDTHxHEIGHT, e.g. 1920x1080, got '1920'"},
      {"--canvas 0x10", 2, "--canvas: expected a whole number of at least 1, got '0'"},
      {"--time nan", 2, "--time: expected a finite number of seconds, got 'nan'"},
      {"--set veyrant_x", 2, "--set: expected NAME=VALUE, got 'veyrant_x'"},
      {"--click=", 2, "--click: expected a widget label, got ''"},
      {"--drag \"X (%)\"", 2, "--drag: expected LABEL=VALUE, got 'X (%)'"},
      {"--drag S=big", 2, "--drag: expected LABEL=VALUE with a finite number, got 'S=big'"},
      {"--type =5", 2, "--type: expected LABEL=TEXT, got '=5'"},
      {"--help=1", 2, "--help: takes no value"},
      {"--transparent", 2, "--transparent: needs --png, --png-dir or --video"},
      {"--png a.png --frames 0", 2, "--png: needs at least one frame, got --frames 0"},
      {"--window --png-dir d", 2, "--window: cannot be combined with --png, --png-dir or --video"},
      {"--script s.txt", 2, "--script: needs --window"},
      {"--watch", 2, "--watch: needs --window"},
      {"--settings", 2, "--settings: needs --png, --png-dir, --video or --window"},
      {"--click Stear", 2,
       R"(no widget labelled "Stear" on the settings page; labels found: "Show overlay in )"},
      {"--settings-frames 2 --click Steer", 2, "--settings-frames 2: the actions take 3"},
      {"--drag Steer=1", 2, R"("Steer" is a check box, not a slider)"},
      {"--drag Scale=4", 2, R"("Scale": cannot drag to 4, the slider runs from 0.5 to 3)"},
      Load("/nonexistent.so", "file not found"),
      Load(Scene("four-cars-free.json"), "not a loadable module: "),
      LoadFixture("fixture_wrong_version",
                  "incompatible plugin interface version 94 (expected 95)"),
      LoadFixture("fixture_no_exports", "missing export exports"),
      LoadFixture("fixture_no_getplugin", "missing export getPlugin"),
      LoadFixture("fixture_no_deleteme", "missing export deleteMe")};
#if !defined(_WIN32)
  // The window, which the Windows build lacks: its commands and keys, and the console's refusal
  // of them outside it.
  cases.insert(
      cases.end(),
      {{"-h", 0,
        "  Up, Down              in the console line: the lines typed before, kept "
        "across runs"},
       {"--exec help", 0,
        "  seek frame N          jump to frame N, numbered as the trace numbers frames"},
       {"--exec help", 0, "  F1                    show or hide the plugin's settings window"},
       {"--exec pause", 2,
        "--exec pause: pause: a window command; only the window's console line and its "
        "--script take it"}});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const veyrant_test::ProgramRun run = veyrant_test::Devhost(c.arguments);
    EXPECT_EQ(run.exitCode, c.status);
    const auto match = [&c](const std::string& line) {
      return c.status == 0 ? line.ends_with(c.text)
                           : line.starts_with("pryndal-devhost: " + c.text);
    };
    EXPECT_EQ(std::count_if(run.lines.begin(), run.lines.end(), match), c.times);
    // A file that cannot be loaded stops the run before any call into the plugin.
    EXPECT_TRUE(c.status != 1 || run.lines.size() == 1) << run.lines.size();
  }
}

// Each mistake named as the person wrote it, before any work: before the plugin loads, or, for the
// names only the plugin knows, before anything else. A near name is offered.
TEST(Program, RefusesAMistakeBeforeAnyWorkNamingWhatWasWritten) {
  struct Refusal {
    std::string arguments;
    int status;
    std::string line;    // the whole line after the program's name
    bool loads = false;  // the plugin's names: refused once it has loaded
  };
  std::vector<Refusal> cases = {
      {"--trace nodir/t.jsonl", 2, "--trace nodir/t.jsonl: the folder nodir does not exist"},
      {"--config nodir/c.cfg", 2, "--config nodir/c.cfg: the folder nodir does not exist"},
      {"--trace " + Scene("four-cars-free.json") + "/t", 2,
       "--trace " + Scene("four-cars-free.json") + "/t: " + Scene("four-cars-free.json") +
           " is not a folder"},
      {"--scene nothere.json", 1,
       "nothere.json: cannot read the scene file: No such file or directory"},
      {"--scnee s.json", 2, "unknown option: --scnee; did you mean --scene?"},
      {"--sett veyrant_x=1", 2, "unknown option: --sett; did you mean --set?"},
      {"--set veyrant_scal=2", 2,
       "--set veyrant_scal=2: unknown variable veyrant_scal; did you mean veyrant_scale?", true},
      {"--exec \"veyrant_sacle 2\"", 2,
       "--exec veyrant_sacle 2: unknown command or variable: veyrant_sacle; did you mean "
       "veyrant_scale?",
       true},
      {"--exec hlep", 2, "--exec hlep: unknown command or variable: hlep; did you mean help?",
       true},
      {"--click Stear", 2,
       "no widget labelled \"Stear\" on the settings page; labels found: \"Show overlay in "
       "replays\", \"X (%)\", \"Y (%)\", \"Scale\", \"Throttle / Brake\", \"Steer\", \"Airroll\", "
       "\"Boost\", \"Jump\", \"Handbrake\", \"Show values on bars\"; did you mean \"Steer\"?",
       true}};
#if !defined(_WIN32)
  // The pictures, which the Windows build cannot make.
  cases.insert(
      cases.end(),
      {{"--png nodir/x.png --frames 600", 2, "--png nodir/x.png: the folder nodir does not exist"},
       {"--png-dir nodir/frames", 2, "--png-dir nodir/frames: the folder nodir does not exist"}});
#endif
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const veyrant_test::ProgramRun run = veyrant_test::Devhost(c.arguments);
    EXPECT_EQ(run.exitCode, c.status);
    std::istringstream errors(run.errors);
    std::string first;
    if (c.loads) std::getline(errors, first);
    EXPECT_EQ(first, c.loads ? "Veyrant loaded" : "");
    std::getline(errors, first);
    EXPECT_EQ(first, "pryndal-devhost: " + c.line);
    for (const auto& entry : std::filesystem::directory_iterator(veyrant_test::TestFolder()))
      EXPECT_EQ(entry.path().filename(), "stderr.txt") << "a refused run made a file";
  }
}

#if defined(_WIN32)
// The Windows build's guard, which the Linux one's table does not reach: structured exceptions,
// abort(), an escaping exception and a call that never returns, each named, with the settings
// saved.
TEST(Program, APluginThatFaultsEndsTheRunWithExitCode3AndItsSettingsSaved) {
  struct FaultCase {
    const char* request;
    const char* arguments;
    const char* line;
  };
  const FaultCase cases[] = {
      {"segv@frame", "", "its drawable: an access violation, a write to address 0x0"},
      {"throw@hook", "",
       "the change hook of fixture_value: an exception of type std::runtime_error escaped: asked "
       "to"},
      {"abort@settings", "--settings-frames 1", "RenderSettings: abort() was called"},
      {"hang@frame", "--plugin-timeout 1", "its drawable: it did not return within 1 s"}};
  const std::filesystem::path config = veyrant_test::TestFolder() / "c.cfg";
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.request);
    std::ofstream(config, std::ios::binary) << "# mine\n";
    _putenv((std::string("VEYRANT_FIXTURE_FAULT=") + c.request).c_str());
    const veyrant_test::ProgramRun run = veyrant_test::Devhost(
        "--plugin \"" VEYRANT_FIXTURE_DIR "/fixture_good" VEYRANT_MODULE_SUFFIX "\" --config \"" +
        config.string() + "\" --set fixture_value=6 --frames 2 " + c.arguments);
    _putenv("VEYRANT_FIXTURE_FAULT=");
    EXPECT_EQ(run.exitCode, 3) << run.errors;
    EXPECT_NE(run.errors.find(std::string("Fixture faulted in ") + c.line), std::string::npos)
        << run.errors;
    EXPECT_EQ(veyrant_test::ReadFile(config), "# mine\nfixture_value \"6\"\n");
  }
}
#endif

}  // namespace
