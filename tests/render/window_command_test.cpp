// The window's command language, read in the process: each line's command and value, or the
// message that refuses it.
#include "window/window_command.h"

#include <gtest/gtest.h>

#include <string>

#include "core/host.h"

namespace devhost {
namespace {

using Kind = WindowCommand::Kind;

TEST(WindowCommand, ReadsEachCommandWithItsValue) {
  const struct {
    const char* line;
    Kind kind;
    double number;
    const char* text;
  } cases[] = {{"pause", Kind::Pause, 0, ""},
               {"  play  ", Kind::Play, 0, ""},
               {"step", Kind::Step, 1, ""},
               {"step -30", Kind::Step, -30, ""},
               {"seek 6.25", Kind::Seek, 6.25, ""},
               {"seek frame -30", Kind::SeekFrame, -30, ""},
               {"settings", Kind::ToggleSettings, 0, ""},
               {"screenshot shot.png", Kind::Screenshot, 0, "shot.png"},
               {"wait  reloaded  Veyrant.so ", Kind::Wait, 0, "reloaded  Veyrant.so"},
               {"quit", Kind::Quit, 0, ""},
               {"veyrant_scale 2", Kind::Console, 0, "veyrant_scale 2"},
               {"", Kind::Console, 0, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const WindowCommand command = ParseWindowCommand(c.line);
    EXPECT_EQ(command.kind, c.kind);
    EXPECT_EQ(command.number, c.number);
    EXPECT_EQ(command.text, c.text);
  }
}

TEST(WindowCommand, RefusesWhatItCannotReadSayingWhatItExpected) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {{"step 1.5", "step: expected a whole number of frames, got '1.5'"},
               {"step 2000000", "step: expected a whole number of frames, got '2000000'"},
               {"step x", "step: expected a whole number of frames, got 'x'"},
               {"seek", "seek: expected SECONDS or frame N"},
               {"seek frame", "seek frame: expected N"},
               {"seek frame 1.5", "seek frame: expected a whole number of frames, got '1.5'"},
               {"seek frame 3 4", "seek frame: unexpected '4'"},
               {"seek inf", "seek: expected a number of seconds, got 'inf'"},
               {"seek 1s", "seek: expected a number of seconds, got '1s'"},
               {"wait  ", "wait: expected TEXT"},
               {"screenshot", "screenshot: expected FILE"},
               {"pause now", "pause: takes no value, got 'now'"},
               {"seek 1 2", "seek: unexpected '2'"},
               {"screenshot at 0.png", "screenshot: unexpected '0.png'"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    try {
      ParseWindowCommand(c.line);
      ADD_FAILURE() << "accepted";
    } catch (const ConsoleError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace devhost
