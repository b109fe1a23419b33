// Marks an exported entry point: C linkage, default visibility. Everything
// else in the library is hidden, and the version script lets only the fn_*
// names out.
#pragma once

#define QOR_EXPORT extern "C" __attribute__((visibility("default")))
