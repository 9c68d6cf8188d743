// How the plug-in's exported functions are declared: C linkage, plain names, the C calling
// convention, and visible from the library while everything else stays hidden.
#ifndef VTR3_API_H
#define VTR3_API_H

#if defined(_WIN32)
#define VTR3_API extern "C" __declspec(dllexport)
#else
#define VTR3_API extern "C" __attribute__((visibility("default")))
#endif

#endif
