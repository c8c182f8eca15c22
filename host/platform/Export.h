// Marks the entry point for export; everything else in the library stays hidden.
#pragma once

#if defined(_WIN32)
#define TARVA_EXPORT __declspec(dllexport)
#else
#define TARVA_EXPORT __attribute__((visibility("default")))
#endif
