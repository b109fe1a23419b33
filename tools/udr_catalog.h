// The UDR side of the function catalogue: reads each legacy declaration's
// argument and result kinds and writes, from the same script,
//   - the routine table the UDR front registers (a C++ include),
//   - the UDR declarations (CREATE OR ALTER FUNCTION ... ENGINE UDR),
//   - the script that switches a legacy-declared database to the UDR front in
//     place, and the script that switches it back,
//   - the legacy declarations for a database whose default character set has
//     more than one byte per character (UTF8): the same script with every
//     text declared in a one-byte set.
//
// The character set of a text follows one rule in all of them: a text
// declared without a set is in the database's default set (the engine
// converts the caller's text into it), and a declaration that names a set
// keeps it in its UDR form.
#pragma once

#include <string>
#include <vector>

#include "catalog.h"

namespace catalog {

// The module name used in EXTERNAL NAME and MODULE_NAME ('qor_udf3.dll').
inline constexpr const char* kModule = "qor_udf3.dll";

// The routine table (an initializer list of qor::udr::RoutineDecl).
std::string UdrTable(const Catalog& cat, const std::vector<Shape>& shapes);

// The parameter list and RETURNS clause of a function's UDR form:
// "(P_SIDE VARCHAR(16), ...) RETURNS DOUBLE PRECISION"; a text keeps the
// character set its legacy declaration names.
std::string UdrHeader(const Function& f, const Shape& s);

// One CREATE OR ALTER FUNCTION statement; `prefix` goes before the SQL name
// (the entry name stays the function's own).
std::string UdrCreate(const Function& f, const Shape& s, const std::string& prefix = "",
                      const std::string& module = kModule);

// The whole UDR declaration script.
std::string UdrScript(const Catalog& cat, const std::vector<Shape>& shapes,
                      const std::string& module = kModule);

// Switches every function of the catalogue that a database has declared to
// its UDR form in place (ALTER FUNCTION keeps dependent procedures,
// triggers and views).
std::string ToUdrScript(const Catalog& cat, const std::vector<Shape>& shapes,
                        const std::string& module = kModule);

// Switches the functions back to their legacy declarations.
std::string ToLegacyScript(const Catalog& cat, const std::vector<Shape>& shapes,
                           const std::string& module = kModule);

// C++ source of a library of no-op entry points with the signatures of the
// catalogue's functions (each returns 0, nil, or its result blob untouched):
// served by the UDR front, it measures what a call costs the front itself.
std::string NoopSource(const Catalog& cat, const std::vector<Shape>& shapes);

// The one-byte set in which the texts are declared for a database whose
// default set has several bytes per character, unless another is named.
inline constexpr const char* kMultiByteTextCharset = "WIN1252";

// The declaration script with every CSTRING that names no character set
// declared in `charset`, under a header that says what it is for. Empty
// `charset`: the script unchanged.
std::string ScriptInCharset(const std::string& script, const std::string& charset);

// The file name of a generated script for a character set: "qor_udf3_udr.sql"
// for no set, "qor_udf3_udr_win1252.sql" for WIN1252.
std::string ScriptFileName(const std::string& base, const std::string& charset);

// The catalogue of a script whose declarations name another module (a test
// library): read as if they named kModule.
Catalog ParseForModule(const std::string& script, const std::string& module);

}  // namespace catalog

namespace catalog {

// The check before an upgrade: lists the catalogue's functions that a
// database has declared with another signature than the shipped legacy or
// UDR declaration (changes nothing).
std::string UpgradeCheckScript(const Catalog& cat, const std::vector<Shape>& shapes);

}  // namespace catalog
