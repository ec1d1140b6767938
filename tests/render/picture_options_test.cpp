// pryndal-devhost's picture and window options, run as the program: what it writes, and that it
// writes the same bytes every run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/picture.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exitCode;
  std::string errors;
};

// Runs the program with the arguments (a shell fragment, quoted by the caller) and env prefix.
// Standard error goes to a file of the test's own: ctest runs tests side by side.
Outcome RunDevhost(const std::string& arguments, const std::string& environment = "") {
  const fs::path errors =
      fs::path(testing::TempDir()) /
      ("devhost-stderr-" +
       std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".txt");
  const std::string command = environment + " '" VEYRANT_DEVHOST_PATH "' " + arguments + " 2>'" +
                              errors.string() + "' >/dev/null";
  const int status = std::system(command.c_str());
  std::ifstream in(errors);
  std::stringstream text;
  text << in.rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

// One X server at a time: two xvfb-run -a started together can pick the same display number.
const std::string kXvfb = "flock /tmp/veyrant-xvfb.lock xvfb-run -a";

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class PictureOptions : public testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::path(testing::TempDir()) /
        ("veyrant-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  fs::path dir_;
};

TEST_F(PictureOptions, PngWritesTheLastFrameTheSameEveryRun) {
  const std::string args = "--canvas 640x360 --frames 3 --time 2 --set veyrant_values=1 --png ";
  ASSERT_EQ(RunDevhost(args + "'" + (dir_ / "a.png").string() + "'").exitCode, 0);
  ASSERT_EQ(RunDevhost(args + "'" + (dir_ / "b.png").string() + "'").exitCode, 0);
  EXPECT_EQ(Bytes(dir_ / "a.png"), Bytes(dir_ / "b.png"));
  const devhost::Image image = veyrant_test::ReadPng((dir_ / "a.png").string());
  EXPECT_EQ(image.width, 640);
  EXPECT_EQ(image.height, 360);
  EXPECT_EQ(image.Pixel(0, 0)[3], 255);  // the backdrop is opaque
}

TEST_F(PictureOptions, PngDirWritesEveryFrameByNumber) {
  ASSERT_EQ(RunDevhost("--canvas 320x180 --frames 3 --png-dir '" + (dir_ / "seq").string() + "'")
                .exitCode,
            0);
  EXPECT_TRUE(fs::exists(dir_ / "seq" / "frame-00000.png"));
  EXPECT_TRUE(fs::exists(dir_ / "seq" / "frame-00002.png"));
  EXPECT_FALSE(fs::exists(dir_ / "seq" / "frame-00003.png"));
  // The demo moves: the first and last frames differ.
  EXPECT_NE(Bytes(dir_ / "seq" / "frame-00000.png"), Bytes(dir_ / "seq" / "frame-00002.png"));
}

TEST_F(PictureOptions, TransparentKeepsOnlyThePanelWithItsAlpha) {
  const fs::path png = dir_ / "t.png";
  ASSERT_EQ(RunDevhost("--canvas 960x540 --transparent --png '" + png.string() + "'").exitCode, 0);
  const devhost::Image image = veyrant_test::ReadPng(png.string());
  EXPECT_EQ(image.Pixel(400, 300)[3], 0);
  // The panel's background (12, 12, 18, 220), straight alpha again; its corner is at (9, 10).
  const std::uint8_t* background = image.Pixel(12, 120);
  EXPECT_EQ(background[3], 220);
  EXPECT_NEAR(background[0], 12, 1);
  EXPECT_NEAR(background[2], 18, 1);
}

TEST_F(PictureOptions, SettingsDrawsThePageWithItsActionsDoneAndThePanelFollows) {
  const fs::path png = dir_ / "s.png";
  // The panel moved right of the window; Steer unticked on the page.
  ASSERT_EQ(RunDevhost("--canvas 960x540 --settings --set veyrant_x=0.72 --click Steer --png '" +
                       png.string() + "'")
                .exitCode,
            0);
  const devhost::Image image = veyrant_test::ReadPng(png.string());
  EXPECT_EQ(std::vector<int>(image.Pixel(300, 25), image.Pixel(300, 25) + 3),
            std::vector<int>({41, 74, 122}));  // the window's title bar
  // The panel at x 691 shows THR on rows 44..53, then ROLL where STR was; no blue fill anywhere.
  int blue = 0;
  for (int x = 735; x < 923; ++x)
    for (int y = 44; y < 74; ++y) {
      const std::uint8_t* p = image.Pixel(x, y);
      blue += p[0] == 80 && p[1] == 150 && p[2] == 255;
    }
  EXPECT_EQ(blue, 0) << "the STR bar's blue is still drawn";
}

TEST_F(PictureOptions, APictureThatCannotBeWrittenFailsTheRunNamingTheFile) {
  const std::string png = (dir_ / "missing" / "a.png").string();
  const Outcome outcome = RunDevhost("--canvas 64x36 --frames 2 --png '" + png + "'");
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(outcome.errors.find(png), std::string::npos) << outcome.errors;
}

TEST_F(PictureOptions, AWindowWithoutADisplayIsRefused) {
  const Outcome outcome = RunDevhost("--window", "env -u DISPLAY");
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(outcome.errors.find("--window: no display (DISPLAY is not set)"), std::string::npos)
      << outcome.errors;
  EXPECT_EQ(outcome.errors.find("Veyrant loaded"), std::string::npos) << "refused after loading";
}

TEST_F(PictureOptions, AScriptedWindowSessionUnderXvfbTakesAScreenshot) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "xvfb-run is not installed (Debian package xvfb); the window is not tested";
  const fs::path script = dir_ / "session.txt";
  const fs::path shot = dir_ / "shot.png";
  const fs::path withSettings = dir_ / "settings.png";
  std::ofstream(script) << "pause\nseek 1\nveyrant_scale 2\nstep 3\nscreenshot " << shot.string()
                        << "\nsettings\nscreenshot " << withSettings.string() << "\nquit\n";
  const Outcome outcome = RunDevhost("--window --canvas 800x450 --script '" + script.string() + "'",
                                     kXvfb + " -s '-screen 0 1024x768x24'");
  ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
  const devhost::Image image = veyrant_test::ReadPng(shot.string());
  ASSERT_EQ(image.width, 800);
  ASSERT_EQ(image.height, 450);
  // At scale 2 the header band (20, 20, 55) spans x 8..487 from the corner (8, 9), 52 rows tall.
  EXPECT_EQ(std::vector<int>(image.Pixel(300, 30), image.Pixel(300, 30) + 3),
            std::vector<int>({20, 20, 55}));
  EXPECT_NE(std::vector<int>(image.Pixel(490, 30), image.Pixel(490, 30) + 3),
            std::vector<int>({20, 20, 55}));
  // The settings command put the plugin's window over it: its title bar at (20, 20).
  const devhost::Image settings = veyrant_test::ReadPng(withSettings.string());
  EXPECT_EQ(std::vector<int>(settings.Pixel(300, 25), settings.Pixel(300, 25) + 3),
            std::vector<int>({41, 74, 122}));
}

TEST_F(PictureOptions, AFailingScriptLineStopsTheWindowNamingTheLine) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "xvfb-run is not installed (Debian package xvfb); the window is not tested";
  const fs::path script = dir_ / "bad.txt";
  std::ofstream(script) << "pause\nveyrant_nothing 1\nquit\n";
  const Outcome outcome = RunDevhost("--window --canvas 320x180 --script '" + script.string() + "'",
                                     kXvfb + " -s '-screen 0 640x480x24'");
  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_NE(
      outcome.errors.find(script.string() + ":2: unknown command or variable: veyrant_nothing"),
      std::string::npos)
      << outcome.errors;
}

}  // namespace
