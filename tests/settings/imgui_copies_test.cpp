// The host and the plugin each carry their own Dear ImGui and share only the context pointer: the
// plugin's current-context pointer is a variable of its own (the exact export list, checked by
// module_exports, keeps every other symbol of its copy inside the module).
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>
#if !defined(_WIN32)
#include <dlfcn.h>
#include <link.h>
#endif

#include <cstdio>
#include <sstream>
#include <string>

#include "support/loaded_plugin.h"
#include "ui/imgui_session.h"

namespace {

#if defined(_WIN32)
TEST(ImGuiCopies, SetImGuiContextSetsThePluginsCopyAndNotTheHosts) {
  GTEST_SKIP() << "finds the plugin's copy through the module's ELF symbol table; on Windows the "
                  "export check shows the DLL exports no Dear ImGui symbol";
}
#else
std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  pclose(pipe);
  return out;
}

// Where the module's own GImGui lives: its symbol-table offset plus the module's load address.
ImGuiContext** PluginCurrentContextVariable(void* module) {
  std::istringstream symbols(
      Output(std::string(VEYRANT_NM) + " --defined-only '" + VEYRANT_MODULE_PATH + "'"));
  std::string address, kind, name;
  while (symbols >> address >> kind >> name) {
    if (name != "GImGui") continue;
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
    return reinterpret_cast<ImGuiContext**>(map->l_addr + std::stoull(address, nullptr, 16));
  }
  return nullptr;
}

TEST(ImGuiCopies, SetImGuiContextSetsThePluginsCopyAndNotTheHosts) {
  veyrant_test::LoadedPlugin plugin;
  const devhost::LoadedPlugin& loaded = *plugin.Host().Plugins().front();
  ImGuiContext** pluginCurrent = PluginCurrentContextVariable(loaded.module);
  ASSERT_NE(pluginCurrent, nullptr);
  EXPECT_NE(pluginCurrent, &GImGui);

  devhost::ImGuiSession session(Vector2{640, 480});
  ImGuiContext* hostCurrent = ImGui::CreateContext();
  ImGui::SetCurrentContext(hostCurrent);
  loaded.settings->SetImGuiContext(session.ContextHandle());
  EXPECT_EQ(*pluginCurrent, session.Context());
  EXPECT_EQ(ImGui::GetCurrentContext(), hostCurrent);
  ImGui::DestroyContext(hostCurrent);
}
#endif

}  // namespace
