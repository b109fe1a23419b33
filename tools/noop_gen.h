// No-op twins of the declared functions for the per-call benchmark: an entry
// point of the same name in a separate module, declared in SQL with the same
// arguments and result, that does the least a valid answer of that result
// kind needs. Built only for the benchmark, never installed.
#pragma once

#include <string>

#include "catalog.h"

namespace catalog {

// The module the no-op library is declared with (file libqor_noop.dll.so).
inline constexpr const char* kNoopModule = "qor_noop.dll";

// C++ source of the no-op library: one exported function per declaration.
std::string NoopSource(const Catalog& catalog);

// The SQL name of a function's no-op twin ("fn_SHSoll" -> "nop_SHSoll").
std::string NoopName(const std::string& name);

// DECLARE EXTERNAL FUNCTION of the twin: same arguments and result, entry
// point of the same name in kNoopModule.
std::string NoopDeclaration(const Function& f);

}  // namespace catalog
