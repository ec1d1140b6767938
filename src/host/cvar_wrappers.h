// Console variables: the manager that registers and finds them, and a handle on one.
#pragma once

#include <functional>
#include <string>

#include "host/object_wrapper.h"

class PRYNDAL_SDK_API CVarWrapper : public ObjectWrapper {
 public:
  using ObjectWrapper::ObjectWrapper;
  using ValueChanged = std::function<void(std::string oldValue, CVarWrapper cvar)>;

  // The host calls fn after every change of the value, until the plugin that added it is
  // unloaded: the host removes it then.
  void addOnValueChanged(ValueChanged fn);
  bool getBoolValue();
  float getFloatValue();
  void setValue(int value);
  void setValue(float value);
};

class PRYNDAL_SDK_API CVarManagerWrapper : public ObjectWrapper {
 public:
  using ObjectWrapper::ObjectWrapper;
  CVarWrapper registerCvar(std::string name, std::string defaultValue, std::string description = "",
                           bool searchable = true, bool hasMin = false, float min = 0,
                           bool hasMax = false, float max = 0, bool saveToCfg = true);
  CVarWrapper getCvar(std::string name);
  void log(std::string text);
};
