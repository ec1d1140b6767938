// The window's commands and its clock: what a typed or scripted line asks for, and the scene time
// that playing, stepping and seeking give.
#include "render/window_command.h"

#include <gtest/gtest.h>

#include "core/host.h"
#include "render/playback_clock.h"

namespace {

using devhost::ParseWindowCommand;
using Kind = devhost::WindowCommand::Kind;

struct Line {
  const char* text;
  Kind kind;
  double number;
  const char* argument;
};

class WindowCommandReads : public testing::TestWithParam<Line> {};

TEST_P(WindowCommandReads, WhatTheLineAsksFor) {
  const auto command = ParseWindowCommand(GetParam().text);
  EXPECT_EQ(command.kind, GetParam().kind);
  EXPECT_EQ(command.number, GetParam().number);
  EXPECT_EQ(command.text, GetParam().argument);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WindowCommandReads,
    testing::Values(Line{"pause", Kind::Pause, 0, ""}, Line{"play", Kind::Play, 0, ""},
                    Line{"step", Kind::Step, 1, ""}, Line{"step -10", Kind::Step, -10, ""},
                    Line{"seek 2.5", Kind::Seek, 2.5, ""},
                    Line{"settings", Kind::ToggleSettings, 0, ""},
                    Line{"screenshot a.png", Kind::Screenshot, 0, "a.png"},
                    Line{"  quit  ", Kind::Quit, 0, ""},
                    // Everything else goes to the host console as typed.
                    Line{"veyrant_scale 2", Kind::Console, 0, "veyrant_scale 2"},
                    Line{"paused", Kind::Console, 0, "paused"}, Line{"", Kind::Console, 0, ""}));

struct BadLine {
  const char* text;
  const char* message;
};

class WindowCommandRefuses : public testing::TestWithParam<BadLine> {};

TEST_P(WindowCommandRefuses, SayingWhy) {
  try {
    ParseWindowCommand(GetParam().text);
    FAIL() << GetParam().text;
  } catch (const devhost::ConsoleError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WindowCommandRefuses,
    testing::Values(BadLine{"step 1.5", "step: expected a whole number of frames, got '1.5'"},
                    BadLine{"step x", "step: expected a whole number of frames, got 'x'"},
                    BadLine{"seek", "seek: expected SECONDS"},
                    BadLine{"seek inf", "seek: expected a number of seconds, got 'inf'"},
                    BadLine{"screenshot", "screenshot: expected FILE"},
                    BadLine{"pause now", "pause: takes no value, got 'now'"},
                    BadLine{"seek 1 2", "seek: unexpected '2'"}));

TEST(PlaybackClock, RunsWithTheWallClockAndLoopsAtTheEnd) {
  devhost::PlaybackClock clock(9.5, 10, 60);
  clock.Advance(0.25);
  EXPECT_DOUBLE_EQ(clock.Time(), 9.75);
  clock.Advance(0.5);
  EXPECT_DOUBLE_EQ(clock.Time(), 0.25);
  clock.SetPaused(true);
  clock.Advance(3);
  EXPECT_DOUBLE_EQ(clock.Time(), 0.25);
}

TEST(PlaybackClock, StepPausesAndMovesByFramesNeverBeforeZero) {
  devhost::PlaybackClock clock(1, 10, 60);
  clock.Step(30);
  EXPECT_TRUE(clock.Paused());
  EXPECT_DOUBLE_EQ(clock.Time(), 1.5);
  clock.Step(-120);
  EXPECT_DOUBLE_EQ(clock.Time(), 0);
}

TEST(PlaybackClock, SeekStaysWithinTheScene) {
  devhost::PlaybackClock clock(0, 10, 60);
  clock.Seek(4);
  EXPECT_DOUBLE_EQ(clock.Time(), 4);
  clock.Seek(25);
  EXPECT_DOUBLE_EQ(clock.Time(), 10);
  clock.Seek(-1);
  EXPECT_DOUBLE_EQ(clock.Time(), 0);
  EXPECT_FALSE(clock.Paused());
}

}  // namespace
