// The host and the plugin each carry their own Dear ImGui and share only the context pointer: the
// plugin's current-context pointer is a variable of its own (the exact export list, checked by
// module_exports, keeps every other symbol of its copy inside the module).
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>
#include <link.h>

#include <sstream>
#include <string>

#include "support/loaded_plugin.h"
#include "support/program_run.h"
#include "ui/imgui_session.h"

namespace {

// Where the module's own GImGui lives: its symbol-table offset plus the module's load address.
ImGuiContext** PluginCurrentContextVariable(void* module) {
  const auto symbols =
      veyrant_test::Run(std::string(VEYRANT_NM) + " --defined-only '" + VEYRANT_MODULE_PATH + "'");
  for (const std::string& line : symbols.lines) {
    std::string address, kind, name;
    std::istringstream(line) >> address >> kind >> name;
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

}  // namespace
