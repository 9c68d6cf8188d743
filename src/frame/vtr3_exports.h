// The plug-in's exported functions. Every one takes the engine's numbers and strings and returns a var.
#ifndef VTR3_EXPORTS_H
#define VTR3_EXPORTS_H

#include "frame/a6_engine.h"
#include "frame/vtr3_api.h"

VTR3_API int A6_DLLAPI(a6::InterfaceBlock* block);

// Frame and life cycle.
VTR3_API var VTR3Initialize(var logSwitch, a6::String* windowTitle);
VTR3_API var VTR3DeInitialize();
VTR3_API var VTR3ReleaseResources();
VTR3_API var VTR3RecreateResources();
VTR3_API var VTR3ReleaseMemory();
VTR3_API var VTR3SwitchResolution();

#endif
