// The module built for a CPU with fused multiply-add draws exactly what the default module draws:
// the same trace, line for line, for many airborne cars turning every way with values shown.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "support/program_run.h"
#include "support/test_folder.h"

namespace {

using veyrant_test::Devhost;
using veyrant_test::ProgramRun;

// Cars in the air, turned every way, each spinning so that its exact roll lies on a rounding
// boundary of the ROLL value text (k + 0.5 percent): there one rounding more or less, as a fused
// multiply-add makes, tips the text or the bar's fill by one.
std::string AirborneScene(int cars) {
  std::mt19937 random(20261207);
  auto next = [&random](float range) {
    return std::uniform_real_distribution<float>(-range, range)(random);
  };
  std::ostringstream scene;
  scene.precision(9);
  scene << R"({"fps": 60, "duration": 1, "camera": {"target": null}, "cars": [)";
  for (int car = 0; car < cars; ++car) {
    const float x = next(1), y = next(1), z = next(1), w = next(1);
    const float ax = next(8), ay = next(8);
    // The forward axis and the roll worked out exactly, in double, from the float inputs.
    const double fx = 1 - 2 * (double{y} * y + double{z} * z);
    const double fy = 2 * (double{x} * y + double{z} * w);
    const double fz = 2 * (double{x} * z - double{y} * w);
    const double roll = (car % 199 - 99 + 0.5) / 100;
    const auto az = static_cast<float>((roll * 5.5 - fx * ax - fy * ay) / fz);
    scene << (car ? "," : "") << R"({"name": "c)" << car
          << R"(", "keys": [{"t": 0, "onGround": false, )"
          << R"("rotation": [)" << x << ',' << y << ',' << z << ',' << w
          << R"(], "angularVelocity": [)" << ax << ',' << ay << ',' << az << "]}]}";
  }
  scene << "]}";
  return scene.str();
}

bool CpuHasFusedMultiplyAdd() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
         __builtin_cpu_supports("bmi2");
}

TEST(InstructionSet, FusedMultiplyAddModuleDrawsTheSame) {
  constexpr int kCars = 400;
  if (!CpuHasFusedMultiplyAdd())
    GTEST_SKIP() << "this CPU cannot run the module built for x86-64-v3 (no AVX2, FMA or BMI2)";
  const std::string scene = (veyrant_test::TestFolder() / "airborne_cars.json").string();
  std::ofstream(scene) << AirborneScene(kCars);
  const std::string options = " --scene \"" + scene + "\" --set veyrant_values=1 --trace -";
  const ProgramRun plain = Devhost("--plugin \"" VEYRANT_MODULE_PATH "\"" + options);
  const ProgramRun fused = Devhost("--plugin \"" VEYRANT_FMA_MODULE_PATH "\"" + options);
  ASSERT_EQ(plain.exitCode, 0);
  ASSERT_EQ(fused.exitCode, 0);

  // Every car is in the air: its roll is worked out.
  std::size_t rollsWorkedOut = 0;
  for (const std::string& line : plain.lines)
    rollsWorkedOut += line.find("RBActorWrapper::GetRBState") != std::string::npos;
  ASSERT_EQ(rollsWorkedOut, static_cast<std::size_t>(kCars));

  ASSERT_EQ(plain.lines.size(), fused.lines.size());
  for (std::size_t i = 0; i < plain.lines.size(); ++i)
    ASSERT_EQ(plain.lines[i], fused.lines[i]) << "trace line " << i + 1;
}

}  // namespace
