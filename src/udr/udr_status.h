// Errors of the UDR front for the SQL caller: the status vector an engine
// call or a mismatched declaration leaves behind.
#pragma once

#include <firebird/Interface.h>
#include <ibase.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>

namespace qor::udr {

inline bool Failed(Firebird::IStatus* status) {
  return (status->getState() & Firebird::IStatus::STATE_ERRORS) != 0;
}

inline void SetError(Firebird::IStatus* status, std::initializer_list<ISC_STATUS> codes,
                     const char* text = nullptr) {
  intptr_t vector[16];
  size_t n = 0;
  for (ISC_STATUS c : codes) {
    vector[n++] = isc_arg_gds;
    vector[n++] = c;
  }
  if (text != nullptr) {
    vector[n++] = isc_arg_string;
    vector[n++] = reinterpret_cast<intptr_t>(text);
  }
  vector[n] = isc_arg_end;
  status->setErrors(vector);
}

// A routine whose declaration does not fit the library's entry point.
inline void SetMismatch(Firebird::IStatus* status, const char* name) {
  char text[200];
  std::snprintf(text, sizeof text, "%s: the UDR declaration does not match the library's entry point",
                name == nullptr ? "?" : name);
  SetError(status, {isc_random}, text);  // the status keeps its own copy
}

}  // namespace qor::udr
