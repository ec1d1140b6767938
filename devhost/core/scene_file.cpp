// Scenes read from JSON, every error naming the file and the field.
#include <array>
#include <nlohmann/json.hpp>

#include "core/scene.h"
#include "system/input_file.h"

namespace devhost {

namespace {

using nlohmann::json;

// Reads one JSON value, naming its path in every error.
class Reader {
 public:
  Reader(const std::string& source) : source_(source) {}

  [[noreturn]] void Fail(const std::string& path, const std::string& what) const {
    throw SceneError(source_ + ": " + path + ": " + what);
  }

  void OnlyKeys(const json& object, const std::string& path,
                std::initializer_list<const char*> allowed) const {
    for (const auto& [name, value] : object.items()) {
      bool known = false;
      for (const char* a : allowed) known = known || name == a;
      if (!known) Fail(path.empty() ? name : path + "." + name, "unknown key");
    }
  }

  const json& Object(const json& value, const std::string& path) const {
    if (!value.is_object()) Fail(path, "expected an object");
    return value;
  }

  double Number(const json& value, const std::string& path) const {
    if (!value.is_number()) Fail(path, "expected a number");
    return value.get<double>();
  }

  float Float(const json& value, const std::string& path) const {
    return static_cast<float>(Number(value, path));
  }

  bool Bool(const json& value, const std::string& path) const {
    if (!value.is_boolean()) Fail(path, "expected true or false");
    return value.get<bool>();
  }

  std::string String(const json& value, const std::string& path) const {
    if (!value.is_string()) Fail(path, "expected a string");
    return value.get<std::string>();
  }

  template <std::size_t N>
  std::array<float, N> Floats(const json& value, const std::string& path) const {
    if (!value.is_array() || value.size() != N)
      Fail(path, "expected an array of " + std::to_string(N) + " numbers");
    std::array<float, N> out{};
    for (std::size_t i = 0; i < N; ++i)
      out[i] = Float(value[i], path + "[" + std::to_string(i) + "]");
    return out;
  }

  double Time(const json& key, const std::string& path, double previous, bool first) const {
    if (!key.contains("t")) Fail(path + ".t", "missing");
    const double t = Number(key["t"], path + ".t");
    if (!first && t < previous) Fail(path + ".t", "keys must be in time order");
    return t;
  }

  // A timeline of {"t", "value"} keys, or a single value meaning "always".
  template <typename Parse>
  auto ReadTimeline(const json& value, const std::string& path, Parse parseValue) const {
    using T = decltype(parseValue(value, path));
    Timeline<T> steps;
    if (!value.is_array()) {
      steps.push_back({0, parseValue(value, path)});
      return steps;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
      const std::string keyPath = path + "[" + std::to_string(i) + "]";
      const json& key = Object(value[i], keyPath);
      const double t = Time(key, keyPath, steps.empty() ? 0 : steps.back().t, steps.empty());
      steps.push_back({t, parseValue(key, keyPath)});
    }
    return steps;
  }

 private:
  std::string source_;
};

bool BoolKeyValue(const Reader& r, const json& key, const std::string& path) {
  if (!key.is_object()) return r.Bool(key, path);
  r.OnlyKeys(key, path, {"t", "value"});
  if (!key.contains("value")) r.Fail(path + ".value", "missing");
  return r.Bool(key["value"], path + ".value");
}

CameraState CameraValue(const Reader& r, const json& key, const std::string& path,
                        std::size_t carCount) {
  CameraState state;
  if (key.is_boolean()) {
    state.present = key.get<bool>();
    return state;
  }
  r.Object(key, path);
  r.OnlyKeys(key, path, {"t", "present", "target"});
  if (key.contains("present")) state.present = r.Bool(key["present"], path + ".present");
  if (!key.contains("target") || key["target"].is_null()) return state;
  const json& target = key["target"];
  if (target.is_string()) {
    if (target.get<std::string>() != "other")
      r.Fail(path + ".target", "expected a car index, null or \"other\"");
    state.target = CameraState::Target::Other;
    return state;
  }
  if (!target.is_number_integer())
    r.Fail(path + ".target", "expected a car index, null or \"other\"");
  const auto index = target.get<std::int64_t>();
  if (index < 0 || static_cast<std::size_t>(index) >= carCount)
    r.Fail(path + ".target", "car index " + std::to_string(index) + " out of range (" +
                                 std::to_string(carCount) + " cars)");
  state.target = CameraState::Target::Car;
  state.car = static_cast<int>(index);
  return state;
}

CarKey ReadCarKey(const Reader& r, const json& key, const std::string& path, const CarKey& earlier,
                  bool first) {
  r.Object(key, path);
  r.OnlyKeys(key, path,
             {"t", "throttle", "steer", "boost", "jump", "handbrake", "onGround", "rotation",
              "angularVelocity", "position"});
  CarKey out = earlier;
  out.t = r.Time(key, path, earlier.t, first);
  auto field = [&](const char* name) { return path + "." + name; };
  if (key.contains("throttle")) out.throttle = r.Float(key["throttle"], field("throttle"));
  if (key.contains("steer")) out.steer = r.Float(key["steer"], field("steer"));
  if (key.contains("boost")) out.boost = r.Bool(key["boost"], field("boost"));
  if (key.contains("jump")) out.jump = r.Bool(key["jump"], field("jump"));
  if (key.contains("handbrake")) out.handbrake = r.Bool(key["handbrake"], field("handbrake"));
  if (key.contains("onGround")) out.onGround = r.Bool(key["onGround"], field("onGround"));
  if (key.contains("rotation")) {
    const auto q = r.Floats<4>(key["rotation"], field("rotation"));
    out.rotation = {q[0], q[1], q[2], q[3]};
  }
  if (key.contains("angularVelocity")) {
    const auto v = r.Floats<3>(key["angularVelocity"], field("angularVelocity"));
    out.angularVelocity = {v[0], v[1], v[2]};
  }
  if (key.contains("position")) {
    const auto v = r.Floats<3>(key["position"], field("position"));
    out.position = {v[0], v[1], v[2]};
  }
  return out;
}

SceneCar ReadCar(const Reader& r, const json& value, const std::string& path) {
  r.Object(value, path);
  r.OnlyKeys(value, path, {"name", "present", "keys"});
  SceneCar car;
  if (value.contains("name")) car.name = r.String(value["name"], path + ".name");
  if (value.contains("present"))
    car.present =
        r.ReadTimeline(value["present"], path + ".present",
                       [&r](const json& k, const std::string& p) { return BoolKeyValue(r, k, p); });
  if (value.contains("keys")) {
    const json& keys = value["keys"];
    if (!keys.is_array()) r.Fail(path + ".keys", "expected an array");
    CarKey earlier;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      earlier = ReadCarKey(r, keys[i], path + ".keys[" + std::to_string(i) + "]", earlier, i == 0);
      car.keys.push_back(earlier);
    }
  }
  return car;
}

}  // namespace

Scene ParseScene(const std::string& text, const std::string& source) {
  const Reader r(source);
  json root;
  try {
    root = json::parse(text);
  } catch (const json::exception& e) {  // a syntax error, or a number beyond a double's range
    throw SceneError(source + ": not valid JSON: " + e.what());
  }
  if (!root.is_object()) throw SceneError(source + ": expected a JSON object at the top");
  r.OnlyKeys(root, "", {"fps", "duration", "replay", "gameState", "camera", "cars"});
  Scene scene;
  if (root.contains("fps")) {
    scene.fps = r.Number(root["fps"], "fps");
    if (!(scene.fps > 0)) r.Fail("fps", "expected a number above 0");
  }
  if (root.contains("duration")) {
    scene.duration = r.Number(root["duration"], "duration");
    if (scene.duration < 0) r.Fail("duration", "expected a number of 0 or more");
  }
  auto boolKey = [&r](const json& k, const std::string& p) { return BoolKeyValue(r, k, p); };
  if (root.contains("replay")) scene.replay = r.ReadTimeline(root["replay"], "replay", boolKey);
  if (root.contains("gameState"))
    scene.gameState = r.ReadTimeline(root["gameState"], "gameState", boolKey);
  if (root.contains("cars")) {
    const json& cars = root["cars"];
    if (!cars.is_array()) r.Fail("cars", "expected an array");
    for (std::size_t i = 0; i < cars.size(); ++i)
      scene.cars.push_back(ReadCar(r, cars[i], "cars[" + std::to_string(i) + "]"));
  }
  if (root.contains("camera")) {
    const std::size_t carCount = scene.cars.size();
    scene.camera = r.ReadTimeline(root["camera"], "camera",
                                  [&r, carCount](const json& k, const std::string& p) {
                                    return CameraValue(r, k, p, carCount);
                                  });
  }
  return scene;
}

Scene LoadSceneFile(const std::string& path) {
  std::string text;
  try {
    // A pipe is fine (--scene <(...)): nothing is written back.
    text = ReadInputFile(path, {"scene file", kSceneLimit});
  } catch (const InputFileError& e) {
    throw SceneError(e.what());
  }
  return ParseScene(text, path);
}

}  // namespace devhost
