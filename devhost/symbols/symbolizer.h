// Where an address of a loaded module lies in its sources: the functions (inlined ones too) and
// their files and lines, read from the module's own debug information (elfutils' libdw). One
// reader for every caller: a plugin's fault, a traced call, an explained pixel. Never used inside
// a signal handler.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace devhost {

struct SourcePlace {
  std::string function;       // demangled; empty where the module has no debug information
  std::string file;           // relative to the module's source tree where it lies in it
  int line = 0;               // 0: no line known
  bool ownSource = false;     // file lies in the module's own source tree, not a system header
  std::string module;         // the module's file name, without its folder
  std::uintptr_t offset = 0;  // of the address from the module's start
};

// "function at file:line", "file:line" or "module+0xOFFSET".
std::string PlaceText(const SourcePlace& place);
// "file:line", or "module+0xOFFSET" where no line is known.
std::string FileLineText(const SourcePlace& place);

class Symbolizer {
 public:
  Symbolizer();
  ~Symbolizer();
  Symbolizer(const Symbolizer&) = delete;
  Symbolizer& operator=(const Symbolizer&) = delete;

  // The places of the instruction at address, innermost inlined function first; a return address
  // should be given less one, so that it names the call. One place with only the module and
  // offset where the module has no debug information; none where no module holds the address.
  const std::vector<SourcePlace>& PlacesOf(std::uintptr_t address);
  // Where a call into the host was made, given its return address: "src/overlay/draw_bar.cpp:36",
  // the innermost place in the module's own sources (not a system header) where the call is
  // inlined; the innermost place of any kind where none is; "Veyrant.so+0x1a2b" without debug
  // information.
  const std::string& CallSite(std::uintptr_t returnAddress);
  // Modules were loaded or closed since the last look.
  void ModulesChanged();

 private:
  struct Modules;
  // The innermost line alone, without the functions around it: what a call's place needs first.
  std::optional<SourcePlace> LineAt(std::uintptr_t address);

  std::unique_ptr<Modules> modules_;
  std::unordered_map<std::uintptr_t, std::vector<SourcePlace>> known_;
  std::unordered_map<std::uintptr_t, std::string> callSites_;
};

}  // namespace devhost
