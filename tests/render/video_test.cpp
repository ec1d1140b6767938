// Videos pryndal-devhost encodes with ffmpeg, run as the program and read back with ffprobe and
// ffmpeg: each container's codec, size, frame count, rate and alpha, and a decoded frame against
// the PNG of the same frame from the same run; the refusals, each leaving no file; the progress
// line on a terminal and not on a pipe.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/picture.h"

namespace {

namespace fs = std::filesystem;
using veyrant_test::Devhost;
using veyrant_test::ReadPng;
using veyrant_test::TestFolder;

// What a shell command in the test's folder prints, its lines joined by spaces.
std::string Output(const std::string& command) {
  std::string out =
      veyrant_test::RunShell("cd '" + TestFolder().string() + "' && exec " + command).output;
  std::replace(out.begin(), out.end(), '\n', ' ');
  return out;
}

// A decoded frame matches its PNG when no pixel differs by more than kTolerance in alpha or in
// luma weighed by alpha. Luma, because 4:2:0 keeps one chroma sample for 2x2 pixels, so colour
// edges move by up to about 100 in a channel while luma stays per pixel. 40, because the encoders
// move luma by at most about 25 (H.264 and VP9 beside the panel's text, ProRes 14) on these
// frames, while the next frame of the demo differs from this one by 70 or more (a bar's edge moved
// by a pixel).
constexpr double kTolerance = 40;

double Distance(const devhost::Image& a, const devhost::Image& b) {
  if (a.width != b.width || a.height != b.height) return 1e9;
  const auto luma = [](const std::uint8_t* p) {
    return (0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2]) * p[3] / 255;
  };
  double worst = 0;
  for (std::size_t i = 0; i < a.rgba.size(); i += 4)
    worst = std::max({worst, std::abs(luma(&a.rgba[i]) - luma(&b.rgba[i])),
                      std::abs(double(a.rgba[i + 3]) - double(b.rgba[i + 3]))});
  return worst;
}

struct VideoCase {
  const char* name;
  std::string file;
  std::string options;  // beside --frames 12 --png-dir seq
  std::string probed;   // what ffprobe reads back
};

class Videos : public testing::TestWithParam<VideoCase> {
  void SetUp() override { VEYRANT_NEEDS("ffmpeg ffprobe", "ffmpeg"); }
};

TEST_P(Videos, HoldEveryFrameAtTheScenesRateAsTheirPngsShowThem) {
  const VideoCase& c = GetParam();
  // Thirty frames a second and a throttle bar sweeping across the panel.
  std::ofstream(TestFolder() / "slow.json")
      << R"({"fps": 30, "camera": {"present": true, "target": 0}, "cars": [{"name": "Ayla",
            "keys": [{"t": 2, "throttle": -1}, {"t": 3, "throttle": 1}]}]})";
  const auto run =
      Devhost("--frames 12 --time 2 --png-dir seq " + c.options + " --video " + c.file);
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  // VP9's alpha is decoded by libvpx only, not by ffmpeg's own decoder.
  const std::string decoder = c.file.ends_with(".webm") ? "-c:v libvpx-vp9 " : "";
  EXPECT_EQ(Output("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                   "stream=codec_name,width,height,pix_fmt,r_frame_rate,nb_read_frames:"
                   "stream_tags=alpha_mode -of default=nw=1 " +
                   c.file),
            c.probed);
  Output("ffmpeg -v error " + decoder + "-i " + c.file +
         " -vf 'select=eq(n\\,6)' -frames:v 1 -pix_fmt rgba -y frame6.png");
  const devhost::Image decoded = ReadPng(TestFolder() / "frame6.png");
  EXPECT_LE(Distance(decoded, ReadPng(TestFolder() / "seq/frame-00006.png")), kTolerance);
  EXPECT_GT(Distance(decoded, ReadPng(TestFolder() / "seq/frame-00007.png")), kTolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Containers, Videos,
    testing::Values(
        VideoCase{"mp4", "v.mp4", "--canvas 320x180 --png last.png",
                  "codec_name=h264 width=320 height=180 pix_fmt=yuv420p r_frame_rate=60/1 "
                  "nb_read_frames=12 "},
        VideoCase{"webm", "v.webm", "--canvas 320x180 --transparent",
                  "codec_name=vp9 width=320 height=180 pix_fmt=yuv420p r_frame_rate=60/1 "
                  "nb_read_frames=12 TAG:alpha_mode=1 "},
        VideoCase{"opaque_webm", "v.webm", "--canvas 320x180",
                  "codec_name=vp9 width=320 height=180 pix_fmt=yuv420p r_frame_rate=60/1 "
                  "nb_read_frames=12 "},
        VideoCase{"mov", "v.mov", "--canvas 320x180 --transparent",
                  "codec_name=prores width=320 height=180 pix_fmt=yuva444p12le "
                  "r_frame_rate=60/1 nb_read_frames=12 "},
        // The settings window in every frame, the panel moved right of it.
        VideoCase{"opaque_mov", "v.mov",
                  "--canvas 960x540 --scene slow.json --settings --set veyrant_x=0.72",
                  "codec_name=h264 width=960 height=540 pix_fmt=yuv420p r_frame_rate=30/1 "
                  "nb_read_frames=12 "}),
    [](const auto& param) { return std::string(param.param.name); });

// A folder for PATH holding env (the test's command runs through it), and a stand-in ffmpeg that
// makes its output file, reads part of the first frame, complains and then ends as told, beside
// the real ffprobe.
std::string FakeBin(const std::string& ending) {
  const fs::path bin = TestFolder() / "bin";
  fs::remove_all(bin);
  fs::create_directories(bin);
  fs::create_symlink("/usr/bin/env", bin / "env");
  if (ending.empty()) return bin.string();
  fs::create_symlink("/usr/bin/ffprobe", bin / "ffprobe");
  std::ofstream(bin / "ffmpeg") << "#!/bin/sh\neval out=\\${$#}\necho partial > \"$out\"\n"
                                   "/usr/bin/head -c 100000 >/dev/null\n"
                                   "echo 'fake-ffmpeg: cannot go on' >&2\n"
                                << ending << '\n';
  fs::permissions(bin / "ffmpeg", fs::perms::owner_all);
  return bin.string();
}

std::vector<std::string> FilesNamedOut() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(TestFolder()))
    if (entry.path().filename().string().starts_with("out")) names.push_back(entry.path().string());
  return names;
}

TEST(VideoRefusals, SayWhatIsWrongAndLeaveNoFile) {
  struct Refusal {
    std::string arguments;
    std::string fakeEnding;  // empty: no ffmpeg on the PATH
    int exitCode;
    std::string message;
  };
  const Refusal refusals[] = {
      {"--video out.mp4", "", 1,
       "--video: no ffmpeg program on the PATH; install Debian's ffmpeg package"},
      {"--video out.avi", "exit 0", 2,
       "--video: expected a file ending in .mp4, .webm or .mov, got 'out.avi'"},
      {"--transparent --video out.mp4", "exit 0", 2,
       "--video: .mp4 cannot carry alpha; with --transparent use .webm or .mov"},
      {"--canvas 320x181 --video out.mov", "exit 0", 2,
       "--video: H.264 in .mov needs an even canvas width and height, got 320x181"},
      {"--frames 0 --video out.mp4", "exit 0", 2,
       "--video: needs at least one frame, got --frames 0"},
      {"--video out/v.mp4", "exit 0", 2, "--video out/v.mp4: the folder out does not exist"},
      {"--video out.mp4", "exit 1", 1,
       "out.mp4: ffmpeg failed (exit code 1)\n  ffmpeg: fake-ffmpeg: cannot go on\n"},
      {"--transparent --video out.webm", "kill -9 $$", 1,
       "out.webm: ffmpeg failed (killed by signal 9)\n"},
      // ffmpeg's own exit status is not enough: on a full disk it ends with 0.
      {"--video out.mp4", "/bin/cat >/dev/null; exit 0", 1,
       "out.mp4: ffmpeg left the video incomplete (not all 3 frames readable)\n  ffprobe: "}};
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.arguments + " with ffmpeg ending: " + r.fakeEnding);
    const auto run = Devhost("--canvas 320x180 --frames 3 " + r.arguments,
                             "PATH='" + FakeBin(r.fakeEnding) + "'");
    EXPECT_EQ(run.exitCode, r.exitCode);
    EXPECT_NE(run.errors.find("pryndal-devhost: " + r.message), std::string::npos) << run.errors;
    EXPECT_EQ(FilesNamedOut(), std::vector<std::string>());
  }
}

// What the program writes to standard error when that is a terminal (its standard output thrown
// away), read from the terminal's other side until the program ends.
std::string OnTerminal(const std::string& arguments, const std::string& path) {
  const std::string command = "cd '" + TestFolder().string() + "' && exec env PATH='" + path +
                              "' ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '" +
                              VEYRANT_DEVHOST_PATH "' --plugin '" VEYRANT_MODULE_PATH "' " +
                              arguments + " >/dev/null";
  int terminal = -1;
  const pid_t parent = getpid();
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid == 0) {
    veyrant_test::EndWithParent(parent);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const std::string out = veyrant_test::ReadAll(terminal);
  veyrant_test::WaitFor(pid);
  return out;
}

TEST(Progress, ShowsOnATerminalClearedAtTheEndAndNotOnAPipe) {
  constexpr char kClear[] = "\r\033[K";
  const std::string pictures = "--canvas 320x180 --frames 12 --png-dir seq";
  const std::string shown = OnTerminal(pictures, getenv("PATH"));
  EXPECT_NE(shown.find(std::string(kClear) + "frame 1 of 12, "), std::string::npos) << shown;
  EXPECT_TRUE(shown.ends_with(kClear)) << shown;
  // Cleared before the error is printed.
  const std::string failed =
      OnTerminal("--canvas 320x180 --frames 12 --video out.mp4", FakeBin("exit 1"));
  EXPECT_NE(failed.find(" frames/s, "), std::string::npos) << failed;
  EXPECT_NE(failed.find(std::string(kClear) + "pryndal-devhost: out.mp4: ffmpeg failed"),
            std::string::npos)
      << failed;
  const auto piped = Devhost(pictures);
  EXPECT_EQ(piped.errors, "Veyrant loaded\n");
}

}  // namespace
