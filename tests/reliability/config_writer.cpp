// veyrant_config_writer FILE: the development host with the plugin loaded, saving its
// configuration over and over until it is killed. Each save is one generation g: veyrant_x holds g
// and veyrant_values holds g % 4096 letters, so a reader can tell a whole file from a torn one.
// Prints "ready" once the file is restored and saving begins.
#include <iostream>
#include <string>
#include <vector>

#include "core/host.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: veyrant_config_writer FILE\n";
    return 2;
  }
  devhost::Host host;
  host.LoadPlugin(VEYRANT_MODULE_PATH);
  const std::vector<std::string> problems = host.RestoreConfig(argv[1]);
  if (!problems.empty()) {
    std::cerr << problems.front() << '\n';
    return 1;
  }
  long generation = std::stol(host.Store().Find("veyrant_x")->value);
  std::cout << "ready" << std::endl;
  for (;;) {
    ++generation;
    host.SetVariable("veyrant_x", std::to_string(generation));
    host.SetVariable("veyrant_values",
                     std::string(static_cast<std::size_t>(generation % 4096), 'v'));
    host.SaveConfig();
  }
}
