// Marks the entry point for export; everything else in the library stays hidden.
// On Windows the module-definition file (TARVA.def) is the one export list, so the
// attribute adds nothing there.
#pragma once

#if defined(_WIN32)
#define TARVA_EXPORT
#else
#define TARVA_EXPORT __attribute__((visibility("default")))
#endif
