// The saved configuration survives SIGKILL: a writer saves over and over and is killed at a random
// moment, many times; after every kill the file is one generation or a later one, whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "core/atomic_file.h"
#include "core/config_file.h"

extern char** environ;

namespace {

int Iterations() {
  const char* text = std::getenv("VEYRANT_KILL_ITERATIONS");
  return text != nullptr ? std::atoi(text) : 200;
}

// Starts the writer and returns once it says it is saving.
pid_t StartWriter(const std::string& path) {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string program = VEYRANT_WRITER_PATH;
  char* argv[] = {program.data(), const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  char ready[6] = {};
  if (pid > 0 && read(out[0], ready, sizeof ready) != sizeof ready) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
  }
  close(out[0]);
  return pid;
}

// The generation the file holds, checked whole; -1 with a failure recorded otherwise.
long WholeGeneration(const std::string& path) {
  const devhost::ConfigReadResult read = devhost::ReadConfigFile(path);
  EXPECT_TRUE(read.exists && read.readable);
  EXPECT_TRUE(read.problems.empty()) << read.problems.front();
  std::map<std::string, std::string> values;
  for (const auto& entry : read.entries) values[entry.name] = entry.value;
  if (!values.contains("veyrant_x") || !values.contains("veyrant_values")) {
    ADD_FAILURE() << "the file lost a variable";
    return -1;
  }
  const long generation = std::stol(values["veyrant_x"]);
  EXPECT_EQ(values["veyrant_values"].size(), static_cast<std::size_t>(generation % 4096));
  // Every save after the first carries all the plugin's variables.
  if (generation > 0) {
    EXPECT_EQ(values.size(), 11u);
  }
  return generation;
}

TEST(SavedConfiguration, SurvivesTheHostBeingKilledWhileWriting) {
  const std::filesystem::path folder = testing::TempDir() + "veyrant_kill_test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "veyrant.cfg").string();
  devhost::WriteFileAtomically(path, "veyrant_x \"0\"\nveyrant_values \"\"\n");

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
  const int iterations = Iterations();
  long generation = 0;
  int advanced = 0;
  for (int i = 0; i < iterations; ++i) {
    SCOPED_TRACE("kill " + std::to_string(i) + ", seed " + std::to_string(seed));
    const pid_t writer = StartWriter(path);
    ASSERT_GT(writer, 0) << "the writer did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ASSERT_EQ(kill(writer, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
    const long now = WholeGeneration(path);
    ASSERT_GE(now, generation) << "the file went back to an older generation";
    if (now > generation) ++advanced;
    generation = now;
  }
  std::printf("kills: %d, %d of them after at least one new save, last generation %ld\n",
              iterations, advanced, generation);
  RecordProperty("kills", iterations);
  RecordProperty("generations", std::to_string(generation));
  std::filesystem::remove_all(folder);
}

}  // namespace
