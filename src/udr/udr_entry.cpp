// The UDR plugin entry point of the library: the engine's UDR plugin calls it
// once when it loads the module named in EXTERNAL NAME 'qor_udf3.dll!fn_X',
// and it registers every routine of the generated table.
#include <firebird/Interface.h>

#include <iterator>

#include "udr/udr_front.h"

namespace {

using qor::udr::Kind;
using qor::udr::ResultMode;

const qor::udr::RoutineDecl kRoutines[] = {
#include "udr_routines.inc"
};

// Tells the plugin when the library goes away before the plugin unloaded it.
struct UnloadDetector {
  FB_BOOLEAN mine = FB_FALSE;
  FB_BOOLEAN* theirs = nullptr;
  ~UnloadDetector() {
    if (!mine && theirs != nullptr) *theirs = FB_TRUE;
  }
};

UnloadDetector g_unload;

}  // namespace

extern "C" __attribute__((visibility("default"))) FB_BOOLEAN* FB_UDR_PLUGIN_ENTRY_POINT(
    Firebird::IStatus* status, FB_BOOLEAN* their_unload_flag, Firebird::IUdrPlugin* plugin) {
  qor::udr::RegisterRoutines(status, plugin, kRoutines, std::size(kRoutines));
  g_unload.theirs = their_unload_flag;
  return &g_unload.mine;
}
