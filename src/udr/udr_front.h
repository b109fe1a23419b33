// The UDR front: serves every legacy fn_* entry point of this library as a
// UDR function of the same name. Each routine is one row of a generated
// table (udr_routine.h); one generic routine reads the engine's input message
// into the legacy argument form, calls the very legacy entry point, and
// writes its result into the output message.
#pragma once

#include <cstddef>

#include "udr/udr_routine.h"

namespace Firebird {
class IStatus;
class IUdrPlugin;
}  // namespace Firebird

namespace qor::udr {

// Registers one UDR function per table row with the engine's UDR plugin. The
// entry points are looked up by name in the library that holds this code.
// The table must outlive the library's use. Errors go to `status`.
void RegisterRoutines(Firebird::IStatus* status, Firebird::IUdrPlugin* plugin,
                      const RoutineDecl* table, size_t count) noexcept;

}  // namespace qor::udr
