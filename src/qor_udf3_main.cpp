// The library's start and stop. The entry points live beside the code they
// serve, one file per subsystem (src/*/*_udf.cpp); only the fn_* names leave
// the library (see qor_udf3.map).

#include "frame/log.h"

using namespace qor;

__attribute__((constructor)) static void LibraryLoad() {
  TraceLevel.store(0);
  ResetTraceFileName();
}

__attribute__((destructor)) static void LibraryUnload() { ResetTraceFileName(); }
