// The window worked through --script, one command a frame: the clock and the screenshots, the
// watch that reloads a rebuilt module, a build that faults, and a failing script line.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/picture.h"
#include "support/x_server.h"

namespace {

using veyrant_test::Devhost;
using veyrant_test::Rgba;
using veyrant_test::SpanList;
using veyrant_test::Spans;

constexpr Rgba kHeader{20, 20, 55, 255}, kTitleBar{41, 74, 122, 255};

devhost::Image Png(const std::string& name) {
  return veyrant_test::ReadPng(veyrant_test::TestFolder() / name);
}

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
