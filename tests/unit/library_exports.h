// The exported functions of the built library, loaded and called directly as
// the server calls them (for what the engine cannot show or never sends).
#pragma once

#include <dlfcn.h>

#include <cstdlib>
#include <string>

namespace qortest {

// An exported function of the built library, called directly.
template <typename Fn>
Fn* Export(const char* name) {
  static void* lib = dlopen(QOR_LIBRARY_FILE, RTLD_NOW);
  if (lib == nullptr) return nullptr;
  return reinterpret_cast<Fn*>(dlsym(lib, name));
}

// Result texts the server frees after use (ib_util_malloc is malloc).
inline std::string Take(char* text) {
  if (text == nullptr) return "<nil>";
  std::string out(text);
  std::free(text);
  return out;
}

}  // namespace qortest
