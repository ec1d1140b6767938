// How the host places a call of the module under test: the file and line from the module's debug
// information, or the module and offset in a build that gives it none (Release, MinSizeRel).
#pragma once

namespace veyrant_test {

inline constexpr bool kModuleHasDebugInfo = VEYRANT_MODULE_HAS_DEBUG_INFO;
// What every place of the overlay's calls starts with.
inline constexpr const char* kPlaceStart = kModuleHasDebugInfo ? "src/" : "Veyrant.so+0x";
// A whole place of the overlay's, as a regular expression.
inline constexpr const char* kPlacePattern =
    kModuleHasDebugInfo ? R"(src/overlay/\w+\.cpp:\d+)" : R"(Veyrant\.so\+0x[0-9a-f]+)";

}  // namespace veyrant_test
