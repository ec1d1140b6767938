// The module's entry points as the host reaches them: the raw export record, getPlugin and
// deleteMe, and the exported special members of the plugin base, all looked up by name.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

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

// The host's own copy keeps the object alive; dropping it destroys the object once, releasing
// gameWrapper before cvarManager.
TEST_F(Module, DeleteMeLeavesAHostCopyAliveAndDestructionReleasesGameWrapperFirst) {
  std::vector<std::string> released;
  auto marker = [&released](const char* name) {
    return std::shared_ptr<int>(new int(0), [&released, name](int* p) {
      released.push_back(name);
      delete p;
    });
  };
  // Only the ownership matters here: the plugin never calls through these before onLoad.
  static CVarManagerWrapper cvarManagerStandIn{0};
  static GameWrapper gameWrapperStandIn{0};
  PluginHandle* handle = getPlugin();
  PluginHandle hostCopy = *handle;
  hostCopy->cvarManager =
      std::shared_ptr<CVarManagerWrapper>(marker("cvarManager"), &cvarManagerStandIn);
  hostCopy->gameWrapper = std::shared_ptr<GameWrapper>(marker("gameWrapper"), &gameWrapperStandIn);

  deleteMe();
  EXPECT_EQ(handle->get(), nullptr);
  EXPECT_TRUE(released.empty());
  EXPECT_EQ(hostCopy.use_count(), 1);
  hostCopy.reset();
  EXPECT_EQ(released, (std::vector<std::string>{"gameWrapper", "cvarManager"}));
}

// The base's special members as the module exports them, called on raw storage.
class BaseMembers : public Module {
 protected:
  template <typename Function>
  Function Member(const char* mangled) {
    return reinterpret_cast<Function>(
        Symbol((std::string("_ZN7Pryndal6Plugin13PryndalPlugin") + mangled).c_str()));
  }
  using Construct = void (*)(void*);
  using ConstructFrom = void (*)(void*, void*);
  using Assign = void* (*)(void*, void*);

  struct Storage {
    alignas(PryndalPlugin) unsigned char bytes[sizeof(PryndalPlugin)];
    PryndalPlugin* operator->() { return std::launder(reinterpret_cast<PryndalPlugin*>(bytes)); }
  };
  // A base with both members set to fresh owners.
  void Filled(Storage& s) {
    construct(s.bytes);
    s->cvarManager = std::make_shared<CVarManagerWrapper>();
    s->gameWrapper = std::make_shared<GameWrapper>();
  }

  Construct construct = Member<Construct>("C1Ev"), destroy = Member<Construct>("D1Ev");
  ConstructFrom copyConstruct = Member<ConstructFrom>("C1ERKS1_"),
                moveConstruct = Member<ConstructFrom>("C1EOS1_");
  Assign copyAssign = Member<Assign>("aSERKS1_"), moveAssign = Member<Assign>("aSEOS1_");
};

TEST_F(BaseMembers, CopySharesMoveTakesSelfAssignmentKeeps) {
  Storage source, target;
  Filled(source);
  const auto* cvarManager = source->cvarManager.get();
  const auto* gameWrapper = source->gameWrapper.get();

  copyConstruct(target.bytes, source.bytes);
  EXPECT_EQ(source->cvarManager.use_count(), 2);
  EXPECT_EQ(source->gameWrapper.use_count(), 2);
  EXPECT_EQ(target->gameWrapper.get(), gameWrapper);
  destroy(target.bytes);
  EXPECT_EQ(source->cvarManager.use_count(), 1);

  moveConstruct(target.bytes, source.bytes);
  EXPECT_EQ(source->cvarManager, nullptr);
  EXPECT_EQ(source->gameWrapper, nullptr);
  EXPECT_EQ(target->cvarManager.get(), cvarManager);
  EXPECT_EQ(target->cvarManager.use_count(), 1);

  EXPECT_EQ(copyAssign(target.bytes, target.bytes), target.bytes);
  EXPECT_EQ(moveAssign(target.bytes, target.bytes), target.bytes);
  EXPECT_EQ(target->cvarManager.get(), cvarManager);
  EXPECT_EQ(target->gameWrapper.get(), gameWrapper);
  EXPECT_EQ(target->gameWrapper.use_count(), 1);

  // Assigning over held members releases what the target held.
  std::weak_ptr<GameWrapper> old = target->gameWrapper;
  Storage other;
  Filled(other);
  moveAssign(target.bytes, other.bytes);
  EXPECT_TRUE(old.expired());
  EXPECT_EQ(other->gameWrapper, nullptr);
  copyAssign(other.bytes, target.bytes);
  EXPECT_EQ(target->cvarManager.use_count(), 2);

  destroy(other.bytes);
  destroy(target.bytes);
  destroy(source.bytes);
}

}  // namespace
