// The module's entry points as the host reaches them, looked up by name: the raw export record,
// getPlugin and deleteMe.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "core/loader.h"
#include "host/plugin.h"

namespace {

using Pryndal::Plugin::PluginHandle;
using Pryndal::Plugin::PryndalPlugin;

class Module : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(module_, nullptr) << devhost::ModuleError(); }
  ~Module() override {
    if (deleteMe != nullptr) deleteMe();
    if (module_ != nullptr) devhost::CloseModule(module_);
  }
  void* Symbol(const char* name) {
    void* symbol = module_ != nullptr ? devhost::FindSymbol(module_, name) : nullptr;
    EXPECT_NE(symbol, nullptr) << name;
    return symbol;
  }

 private:
  void* module_ = devhost::OpenModule(VEYRANT_MODULE_PATH);

 protected:
  GetPluginFunc getPlugin = reinterpret_cast<GetPluginFunc>(Symbol("getPlugin"));
  DeleteMeFunc deleteMe = reinterpret_cast<DeleteMeFunc>(Symbol("deleteMe"));
};

template <typename T>
T At(const unsigned char* bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

TEST_F(Module, ExportRecordReadAsRawMemory) {
  const auto* bytes = static_cast<const unsigned char*>(Symbol("exports"));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(At<std::int32_t>(bytes, 0), 95);
  EXPECT_EQ(At<std::uint32_t>(bytes, 4), 0u);
  EXPECT_EQ(At<std::uint32_t>(bytes, 40), 16u);
  EXPECT_EQ(At<std::uint32_t>(bytes, 44), 0u);
  EXPECT_EQ(At<void*>(bytes, 48), Symbol("getPlugin"));
  EXPECT_EQ(At<void*>(bytes, 56), Symbol("deleteMe"));
  const std::string fileName = At<const char*>(bytes, 8);
  EXPECT_NE(fileName.find("plugin_entry.cpp"), std::string::npos) << fileName;
  EXPECT_STREQ(At<const char*>(bytes, 16), "Veyrant");
  EXPECT_STREQ(At<const char*>(bytes, 24), "Veyrant");
  EXPECT_STREQ(At<const char*>(bytes, 32), "1.0");
}

TEST_F(Module, GetPluginHandsOutOneObjectUntilDeleteMe) {
  deleteMe();  // before any getPlugin: nothing to release
  PluginHandle* handle = getPlugin();
  ASSERT_NE(handle->get(), nullptr);
  std::weak_ptr<PryndalPlugin> first = *handle;
  EXPECT_EQ(getPlugin(), handle);
  EXPECT_EQ(first.use_count(), 1);
  EXPECT_EQ((*handle)->cvarManager, nullptr);
  EXPECT_EQ((*handle)->gameWrapper, nullptr);

  deleteMe();
  EXPECT_EQ(handle->get(), nullptr);
  EXPECT_TRUE(first.expired());
  deleteMe();  // a second release has no effect

  EXPECT_EQ(getPlugin(), handle);
  EXPECT_NE(handle->get(), nullptr);
  EXPECT_EQ(handle->use_count(), 1);
}

}  // namespace
