#include "app/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <utility>

#include "app/option_combinations.h"
#include "core/nearest_name.h"
#include "host/plugin.h"
#include "sdk/number_text.h"

namespace devhost {

namespace {

struct Option {
  const char* name;
  const char* valueName;  // nullptr for a flag
  const char* help;
  std::function<void(CommandLine&, const std::string&)> apply;
  const char* shortName = nullptr;
};

[[noreturn]] void Bad(const char* option, const std::string& value, const std::string& expected) {
  throw UsageError(std::string(option) + ": expected " + expected + ", got '" + value + "'");
}

std::int64_t WholeNumber(const char* option, const std::string& text, std::int64_t min) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
    Bad(option, text, "a whole number of at least " + std::to_string(min));
  errno = 0;
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < min)
    Bad(option, text, "a whole number of at least " + std::to_string(min));
  return value;
}

// LABEL=REST, split at the first '=': labels hold none.
std::pair<std::string, std::string> LabelAnd(const char* option, const std::string& text,
                                             const char* restName) {
  const auto eq = text.find('=');
  if (eq == std::string::npos || eq == 0) Bad(option, text, std::string("LABEL=") + restName);
  return {text.substr(0, eq), text.substr(eq + 1)};
}

const std::vector<Option>& Options() {
  static const std::vector<Option> options = {
      {"--plugin", "PATH",
       "plugin module to load (default: " DEVHOST_DEFAULT_PLUGIN " beside this program)",
       [](CommandLine& c, const std::string& v) { c.pluginPath = v; }},
      {"--compare", "OTHER",
       "play the run through --plugin and through OTHER and compare every record",
       [](CommandLine& c, const std::string& v) { c.comparePath = v; }},
      {"--scene", "FILE", "scene to play (default: the built-in demo)",
       [](CommandLine& c, const std::string& v) { c.scenePath = v; }},
      {"--canvas", "WxH", "canvas size in pixels (default: 1920x1080)",
       [](CommandLine& c, const std::string& v) {
         const auto x = v.find('x');
         if (x == std::string::npos) Bad("--canvas", v, "WIDTHxHEIGHT, e.g. 1920x1080");
         const auto limit = std::numeric_limits<int>::max();
         const auto w = WholeNumber("--canvas", v.substr(0, x), 1);
         const auto h = WholeNumber("--canvas", v.substr(x + 1), 1);
         if (w > limit || h > limit) Bad("--canvas", v, "a size that fits in 32 bits");
         c.canvasSize = {static_cast<int>(w), static_cast<int>(h)};
       }},
      {"--set", "NAME=VALUE", "set a console variable before the first frame",
       [](CommandLine& c, const std::string& v) {
         const auto eq = v.find('=');
         if (eq == std::string::npos || eq == 0) Bad("--set", v, "NAME=VALUE");
         c.actions.push_back({StartupAction::Kind::Set, v.substr(0, eq), v.substr(eq + 1)});
       }},
      {"--exec", "LINE", "run a console line before the first frame",
       [](CommandLine& c, const std::string& v) {
         c.actions.push_back({StartupAction::Kind::Exec, {}, v});
       }},
      {"--time", "SECONDS", "scene time of the first frame (default: 0)",
       [](CommandLine& c, const std::string& v) {
         const auto t = FiniteNumber(v);
         if (!t) Bad("--time", v, "a finite number of seconds");
         c.time = *t;
       }},
      {"--frames", "N", "frames to render (default: 1)",
       [](CommandLine& c, const std::string& v) { c.frames = WholeNumber("--frames", v, 0); }},
      {"--config", "FILE", "saved configuration: restored after load, written back at exit",
       [](CommandLine& c, const std::string& v) { c.configPath = v; }},
      {"--trace", "FILE|-", "write every host call as JSON Lines ('-': standard output)",
       [](CommandLine& c, const std::string& v) { c.tracePath = v; }},
      {"--sources", nullptr, "with --trace: each call of the plugin with its source file and line",
       [](CommandLine& c, const std::string&) { c.sources = true; }},
      {"--png", "FILE", "write the last frame as a PNG picture",
       [](CommandLine& c, const std::string& v) { c.pngPath = v; }},
      {"--png-dir", "DIR", "write every frame as DIR/frame-00000.png, ... (DIR is created)",
       [](CommandLine& c, const std::string& v) { c.pngDir = v; }},
      {"--video", "FILE", "encode every frame with ffmpeg as a video: .mp4, .webm or .mov",
       [](CommandLine& c, const std::string& v) { c.videoPath = v; }},
      {"--explain", "X,Y",
       "print what drew that pixel of the last frame: its colour, the calls over it",
       [](CommandLine& c, const std::string& v) {
         const auto comma = v.find(',');
         if (comma == std::string::npos) Bad("--explain", v, "X,Y, a pixel such as 156,60");
         const auto limit = std::numeric_limits<int>::max();
         const auto x = WholeNumber("--explain", v.substr(0, comma), 0);
         const auto y = WholeNumber("--explain", v.substr(comma + 1), 0);
         if (x > limit || y > limit) Bad("--explain", v, "a pixel of the canvas");
         c.explainPixel = Vector2{static_cast<int>(x), static_cast<int>(y)};
       }},
      {"--transparent", nullptr, "pictures and video without the backdrop, keeping alpha",
       [](CommandLine& c, const std::string&) { c.transparent = true; }},
      {"--settings", nullptr, "draw the plugin's settings window into the pictures or the window",
       [](CommandLine& c, const std::string&) { c.settings = true; }},
      {"--window", nullptr, "play the scene in a window in real time (needs a display)",
       [](CommandLine& c, const std::string&) { c.window = true; }},
      {"--script", "FILE", "with --window: run one window command a frame from FILE",
       [](CommandLine& c, const std::string& v) { c.scriptPath = v; }},
      {"--watch", nullptr, "with --window: reload the plugin when its module file is replaced",
       [](CommandLine& c, const std::string&) { c.watch = true; }},
      {"--settings-frames", "N",
       "UI frames of the settings page to run (default: as many as the actions take)",
       [](CommandLine& c, const std::string& v) {
         c.settingsFrames = WholeNumber("--settings-frames", v, 0);
       }},
      {"--click", "LABEL", "click the settings widget with that label",
       [](CommandLine& c, const std::string& v) {
         if (v.empty()) Bad("--click", v, "a widget label");
         c.settingsActions.push_back({SettingsAction::Kind::Click, v, {}});
       }},
      {"--drag", "LABEL=VALUE", "drag the settings slider with that label to VALUE",
       [](CommandLine& c, const std::string& v) {
         auto [label, number] = LabelAnd("--drag", v, "VALUE");
         const auto value = FiniteNumber(number);
         if (!value) Bad("--drag", v, "LABEL=VALUE with a finite number");
         c.settingsActions.push_back({SettingsAction::Kind::Drag, std::move(label), {}, *value});
       }},
      {"--type", "LABEL=TEXT", "Ctrl+click that settings slider, type TEXT and press Enter",
       [](CommandLine& c, const std::string& v) {
         auto [label, text] = LabelAnd("--type", v, "TEXT");
         c.settingsActions.push_back(
             {SettingsAction::Kind::Type, std::move(label), std::move(text)});
       }},
      {"--plugin-timeout", "SECONDS",
       "a call into the plugin longer than this is a fault (default: 10; 0: none)",
       [](CommandLine& c, const std::string& v) {
         const auto t = FiniteNumber(v);
         if (!t || *t < 0) Bad("--plugin-timeout", v, "a number of seconds, 0 or more");
         c.pluginTimeout = *t;
       }},
      {"--help", nullptr, "show this text",
       [](CommandLine& c, const std::string&) { c.help = true; }, "-h"},
      {"--version", nullptr, "show the program's version",
       [](CommandLine& c, const std::string&) { c.version = true; }},
  };
  return options;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    const Option* option = nullptr;
    std::vector<std::string> names;
    for (const auto& o : Options()) {
      if (name == o.name || (o.shortName != nullptr && name == o.shortName)) option = &o;
      names.push_back(o.name);
    }
    if (option == nullptr) throw UsageError("unknown option: " + args[i] + DidYouMean(name, names));
    if (option->valueName == nullptr) {
      if (value) throw UsageError(name + ": takes no value");
      option->apply(result, {});
      continue;
    }
    if (!value) {
      if (i + 1 >= args.size())
        throw UsageError(name + ": expected " + option->valueName + " after it");
      value = args[++i];
    }
    option->apply(result, *value);
  }
  CheckCombinations(result);
  return result;
}

std::string UsageText(const std::vector<HelpSection>& windowHelp) {
  std::string text = "usage: pryndal-devhost [options]\n";
  for (const auto& o : Options()) {
    std::string left = "  ";
    if (o.shortName) left += std::string(o.shortName) + ", ";
    left += o.name;
    if (o.valueName) left += std::string(" ") + o.valueName;
    left.resize(std::max<std::size_t>(left.size() + 1, 26), ' ');
    text += left + o.help + '\n';
  }
  std::vector<HelpSection> help{ConsoleLineHelp()};
  help.insert(help.end(), windowHelp.begin(), windowHelp.end());
  const auto code = [](const std::string& number, const char* meaning) {
    std::string left = "  " + number;
    left.resize(9, ' ');
    return left + meaning + '\n';
  };
  using std::to_string;
  return text + '\n' + HelpText(help) + "\nexit codes:\n" +
         code(to_string(exit_code::kDone),
              "done; --compare: the two builds gave the same records") +
         code(to_string(exit_code::kFailed), "the work failed; --compare: the two builds differ") +
         code(to_string(exit_code::kWrongInput),
              "what was written is wrong: an option, a console or script line, a settings-page "
              "action") +
         code(to_string(exit_code::kFaulted), "the plugin faulted") +
         code(to_string(exit_code::kSignalBase) + "+N", "signal N stopped the run") +
         "\nThe options, the console, the window, the scene and trace formats: docs/devhost.md\n";
}

std::string VersionText() {
  return "pryndal-devhost " DEVHOST_VERSION ", for plugins of interface version " +
         std::to_string(kPluginApiVersion) + "\n";
}

}  // namespace devhost
