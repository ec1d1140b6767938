// The host and people's files, through the program: what it writes through and never over, what it
// refuses before any work, what it reads within bounds, and every failure a non-zero exit with a
// message. Each case: the folder made ready, the command, its exit code and message, and the
// folder and $TMPDIR afterwards.
#include <gtest/gtest.h>

#include <string>

#include "support/child_process.h"
#include "support/folder_state.h"
#include "support/program_run.h"

namespace {

using veyrant_test::Listing;
using veyrant_test::RunShell;

struct FileCase {
  const char* name;
  std::string before;  // shell commands in the test's folder; $OUT holds the run's output files
  std::string arguments;
  int exitCode;
  std::string line;            // standard error holds it; "": no line of the program's
  std::string listing;         // the folder afterwards
  std::string check = "true";  // a shell command in the folder that must then succeed
  std::string stdoutTo = "\"$OUT/stdout\"";  // where standard output is redirected
};

const std::string kConfig = "printf 'veyrant_x 0.1\\n' >c.cfg";
const std::string kScene = "cp '" VEYRANT_SCENE_DIR "/four-cars-free.json' s.json";
const std::string kLongName(250, 'n');

const FileCase kCases[] = {
    // Written through, never over, what is not the host's.
    // Named twice, as a device may be: both write through it.
    {"TraceAndConfigOnOneDevice", "mknod n c 1 3", "--config n --set veyrant_x=0.3 --trace n", 0,
     "", "n character device\n"},
    {"TraceThroughALinkToStandardOutput", "ln -s /proc/self/fd/1 out", "--trace out", 0, "",
     "out link to /proc/self/fd/1\n", "grep -q '\"phase\":\"load\"' \"$OUT/stdout\""},
    {"ConfigThroughALink",
     "mkdir real && printf 'veyrant_x 0.1\\n' >real/c.cfg && ln -s real/c.cfg link.cfg",
     "--config link.cfg --set veyrant_x=0.3", 0, "",
     "link.cfg link to real/c.cfg\nreal folder\nreal/c.cfg file 644\n",
     "grep -qx 'veyrant_x 0.3' real/c.cfg"},
    {"ConfigKeepsModeAndOwner", kConfig + " && chmod 600 c.cfg && chown 65534:65534 c.cfg",
     "--config c.cfg --set veyrant_x=0.3", 0, "", "c.cfg file 600\n",
     "grep -qx 'veyrant_x 0.3' c.cfg && test $(stat -c %u:%g c.cfg) = 65534:65534"},
    {"LongestName", "", "--trace " + kLongName, 0, "", kLongName + " file 644\n"},
    // What was set before a start line failed is saved all the same.
    {"ConfigSavedWhenAStartLineFails", kConfig, "--config c.cfg --set veyrant_x=0.3 --exec bogus",
     2, "pryndal-devhost: --exec bogus: unknown command or variable: bogus", "c.cfg file 644\n",
     "grep -qx 'veyrant_x 0.3' c.cfg"},
    // An output that is an input, or another output, is refused before any work.
    {"TraceOverConfig", kConfig, "--config c.cfg --trace c.cfg", 2,
     "pryndal-devhost: --trace c.cfg: the same file as --config c.cfg", "c.cfg file 644\n",
     "grep -qx 'veyrant_x 0.1' c.cfg"},
    {"TraceOverSceneSpeltOtherwise", kScene + " && mkdir sub",
     "--scene s.json --trace sub/../s.json", 2,
     "pryndal-devhost: --trace sub/../s.json: the same file as --scene s.json",
     "s.json file 644\nsub folder\n"},
    {"PngThroughALinkOverAnExecFile", "printf 'veyrant_x 0.2\\n' >e.txt && ln -s e.txt l",
     "--exec 'exec e.txt' --png l", 2, "pryndal-devhost: --png l: the same file as --exec e.txt",
     "e.txt file 644\nl link to e.txt\n", "grep -qx 'veyrant_x 0.2' e.txt"},
    {"TwoOutputsOneNewFile", "mkdir sub", "--trace x --png ./sub/../x", 2,
     "pryndal-devhost: --png ./sub/../x: the same file as --trace x", "sub folder\n"},
    // The file named is the file loaded, and what is not a file is named as what it is.
    {"PluginInThisFolder",
     "cp '" VEYRANT_FIXTURE_DIR "/fixture_good" VEYRANT_MODULE_SUFFIX
     "' Veyrant.so && chmod 644 Veyrant.so",
     "--plugin Veyrant.so", 0, "fixture loaded", "Veyrant.so file 644\n"},
    {"PluginTextInThisFolder", "printf %0100d 0 >text.so", "--plugin text.so", 1,
     "/text.so: invalid ELF header", "text.so file 644\n"},
    {"PluginFolder", "mkdir d.so", "--plugin d.so", 1,
     "pryndal-devhost: d.so: is a folder, not a module file", "d.so folder\n"},
    {"PluginDevice", "mknod z c 1 5", "--plugin z", 1,
     "pryndal-devhost: z: is a character device, not a module file", "z character device\n"},
    {"SceneFolder", "", "--scene .", 1, "pryndal-devhost: .: is a folder, not a scene file", ""},
    {"ExecFolder", "", "--exec 'exec .'", 2,
     "pryndal-devhost: --exec exec .: exec: .: is a folder, not a file of console lines", ""},
    // Inputs read within bounds; a FIFO is a scene's pipe, never a configuration.
    {"SceneEndless", "mknod z c 1 5", "--scene z", 1,
     "pryndal-devhost: z: is larger than 64 MiB, the most a scene file may hold",
     "z character device\n"},
    {"ExecEndless", "mknod z c 1 5", "--exec 'exec z'", 2,
     "pryndal-devhost: --exec exec z: exec: z: is larger than 16 MiB, the most a file of console "
     "lines may hold",
     "z character device\n"},
    {"ConfigEndless", "mknod z c 1 5", "--config z --set veyrant_x=0.3", 1,
     "pryndal-devhost: z: is larger than 16 MiB, the most a configuration file may hold; it is "
     "left as it is; the changes to veyrant_x are not saved",
     "z character device\n"},
    {"ConfigFifo", "mkfifo f.cfg", "--config f.cfg --set veyrant_x=0.3", 1,
     "pryndal-devhost: f.cfg: is a FIFO; a configuration file is written back, and a FIFO cannot "
     "be; it is left as it is; the changes to veyrant_x are not saved",
     "f.cfg FIFO\n"},
    {"SceneFromAPipe", kScene + " && mkfifo p.json && (cat s.json >p.json &) >&-",
     "--scene p.json --trace -", 0, "", "p.json FIFO\ns.json file 644\n",
     "grep -q '\"car:3\"' \"$OUT/stdout\""},
    // Every failure exits non-zero and says so.
    {"ConfigFolder", "mkdir c.cfg", "--config c.cfg --set veyrant_x=0.3", 1,
     "pryndal-devhost: c.cfg: is a folder, not a configuration file; it is left as it is; the "
     "changes to veyrant_x are not saved",
     "c.cfg folder\n"},
    {"StandardOutputFull", "mknod full c 1 7", "--trace -", 1,
     "pryndal-devhost: standard output: cannot write: No space left on device",
     "full character device\n", "true", "full"},
    // The FIFO's reader ends as soon as the host opens it.
    {"StandardOutputClosedStillSaves",
     kConfig + " && mkfifo \"$OUT/pipe\" && (true <\"$OUT/pipe\" &) >&-",
     "--config c.cfg --set veyrant_scale=2 --trace - --frames 1000", 1,
     "pryndal-devhost: standard output: cannot write: Broken pipe", "c.cfg file 644\n",
     "grep -q 'veyrant_scale \"2\"' c.cfg", "\"$OUT/pipe\""},
    {"SettingsPageWithNoPlugin", "", "--exec 'plugin unload Veyrant' --settings-frames 1", 2,
     "pryndal-devhost: the settings page: no plugin is loaded", ""},
    {"SettingsPicturesWithNoPlugin", "",
     "--exec 'plugin unload Veyrant' --settings --canvas 64x64 --png p.png", 2,
     "pryndal-devhost: the settings page: no plugin is loaded", ""},
    // What killed hosts left, and only that, goes at the start.
    {"RemovesWhatKilledHostsLeft",
     "mkdir frames && touch c.cfg.tmp.99999999 t.tmp.99999999 frames/frame-00003.png.tmp.99999999 "
     "frames/frame-1.png.tmp.x && mkdir \"$TMPDIR/pryndal-devhost-99999999-1\"",
     "--config c.cfg --trace t --canvas 64x64 --png-dir frames", 0, "",
     "c.cfg file 644\nframes folder\nframes/frame-00000.png file 644\n"
     "frames/frame-1.png.tmp.x file 644\nt file 644\n"},
};

// Named in failures by the case, not by its bytes.
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class HostFiles : public testing::TestWithParam<FileCase> {};

TEST_P(HostFiles, LeavesTheFolderAsItMust) {
  const FileCase& c = GetParam();
  const std::string folder = veyrant_test::TestFolder().string(),
                    out = veyrant_test::TestFolder(".out").string();
  const std::string prefix = "cd '" + folder + "' && umask 022 && export OUT='" + out +
                             "' TMPDIR='" + veyrant_test::TestTmpdir().string() + "' && ";
  if (RunShell(prefix + (c.before.empty() ? "true" : c.before)).status != 0)
    GTEST_SKIP() << "cannot make the folder ready (mknod and chown need root): " << c.before;
  const int status = RunShell(prefix + "exec " + veyrant_test::DevhostCommand(c.arguments) +
                              " 2>\"$OUT/stderr\" >" + c.stdoutTo)
                         .status;
  const std::string printed = veyrant_test::ReadFile(out + "/stderr");
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.exitCode) << printed;
  EXPECT_EQ(printed.find(c.line.empty() ? "pryndal-devhost:" : c.line) != std::string::npos,
            !c.line.empty())
      << printed;
  EXPECT_EQ(Listing(folder), c.listing);
  EXPECT_EQ(Listing(veyrant_test::TestTmpdir()), "");
  EXPECT_EQ(RunShell(prefix + c.check).status, 0) << c.check;
}

INSTANTIATE_TEST_SUITE_P(Cases, HostFiles, testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
