#include "core/trace_json.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>

#include "sdk/number_text.h"

namespace devhost {

namespace {

void AppendFloat(std::string& out, float value) {
  const std::string text = FloatText(value);
  // Non-finite values have no JSON number form.
  if (text == "nan" || text == "inf" || text == "-inf") {
    AppendJsonString(out, text);
  } else {
    out += text;
  }
}

void AppendFloats(std::string& out, std::initializer_list<float> values) {
  out += '[';
  bool first = true;
  for (float value : values) {
    if (!first) out += ',';
    first = false;
    AppendFloat(out, value);
  }
  out += ']';
}

void AppendValue(std::string& out, const TraceValue& value) {
  std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          out += v ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          out += std::to_string(v);
        } else if constexpr (std::is_same_v<T, float>) {
          AppendFloat(out, v);
        } else if constexpr (std::is_same_v<T, std::string>) {
          AppendJsonString(out, v);
        } else if constexpr (std::is_same_v<T, Vector2>) {
          out += '[' + std::to_string(v.X) + ',' + std::to_string(v.Y) + ']';
        } else if constexpr (std::is_same_v<T, Vector2F>) {
          AppendFloats(out, {v.X, v.Y});
        } else if constexpr (std::is_same_v<T, LinearColor>) {
          AppendFloats(out, {v.R, v.G, v.B, v.A});
        } else if constexpr (std::is_same_v<T, ObjectId>) {
          AppendJsonString(out, v.id);
        } else if constexpr (std::is_same_v<T, NullHandle>) {
          out += "null";
        } else if constexpr (std::is_same_v<T, Callback>) {
          out += "\"<function>\"";
        } else if constexpr (std::is_same_v<T, ControllerInput>) {
          out += "{\"throttle\":";
          AppendFloat(out, v.Throttle);
          out += ",\"steer\":";
          AppendFloat(out, v.Steer);
          out += ",\"flags\":" + std::to_string(v.Flags) + '}';
        } else if constexpr (std::is_same_v<T, RBState>) {
          out += "{\"rotation\":";
          AppendFloats(out, {v.Quaternion.X, v.Quaternion.Y, v.Quaternion.Z, v.Quaternion.W});
          out += ",\"angularVelocity\":";
          AppendFloats(out, {v.AngularVelocity.X, v.AngularVelocity.Y, v.AngularVelocity.Z});
          out += '}';
        } else {
          static_assert(sizeof(T) == 0, "every trace value needs a JSON form");
        }
      },
      value);
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  // Most texts need no escape: each run of plain characters goes in at once.
  const auto plain = [](char c) {
    return c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20;
  };
  while (!text.empty()) {
    const auto run =
        static_cast<std::size_t>(std::find_if_not(text.begin(), text.end(), plain) - text.begin());
    out.append(text.substr(0, run));
    text.remove_prefix(run);
    if (text.empty()) break;
    const char c = text.front();
    text.remove_prefix(1);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default: {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
        out += escaped;
      }
    }
  }
  out += '"';
}

std::string TraceValueText(const TraceValue& value) {
  std::string text;
  AppendValue(text, value);
  return text;
}

std::string TraceValuesText(const std::vector<TraceValue>& values) {
  std::string text = "[";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += ',';
    AppendValue(text, values[i]);
  }
  return text + "]";
}

namespace {

// {"phase":"fault","frame":2,"fault":"SIGSEGV, ...","plugin":"Veyrant","call":"RenderOverlay",
// "places":["...",...]}
void AppendFaultLine(std::string& out, const TraceRecord& record) {
  out += ",\"fault\":";
  AppendJsonString(out, record.op);
  out += ",\"plugin\":";
  AppendJsonString(out, record.self.value_or(""));
  out += ",\"call\":";
  AppendValue(out, record.args.front());
  out += ",\"places\":[";
  for (std::size_t i = 1; i < record.args.size(); ++i) {
    if (i > 1) out += ',';
    AppendValue(out, record.args[i]);
  }
  out += "]}\n";
}

}  // namespace

void AppendTraceLine(std::string& out, const TraceRecord& record, std::string_view at) {
  out += "{\"phase\":\"";
  out += PhaseName(record.phase);
  out += '"';
  if (record.frame) out += ",\"frame\":" + std::to_string(*record.frame);
  if (record.kind == RecordKind::Fault) return AppendFaultLine(out, record);
  // The plugin's calls keep their form; the host's side says which it is in its first key and
  // names the plugin.
  switch (record.kind) {
    case RecordKind::PluginCall:
      out += ",\"op\":";
      break;
    case RecordKind::HostCall:
      out += ",\"call\":";
      break;
    case RecordKind::HostReturn:
      out += ",\"return\":";
      break;
    case RecordKind::HostEvent:
      out += ",\"host\":";
      break;
    case RecordKind::Fault:
      break;
  }
  AppendJsonString(out, record.op);
  out += record.kind == RecordKind::PluginCall ? ",\"self\":" : ",\"plugin\":";
  if (record.self) {
    AppendJsonString(out, *record.self);
  } else {
    out += "null";
  }
  if (record.kind == RecordKind::PluginCall || record.kind == RecordKind::HostCall)
    out += ",\"args\":" + TraceValuesText(record.args);
  if (record.result) {
    out += ",\"result\":";
    AppendValue(out, *record.result);
  }
  if (!at.empty() && record.kind == RecordKind::PluginCall) {
    out += ",\"at\":";
    AppendJsonString(out, at);
  }
  out += "}\n";
}

}  // namespace devhost
