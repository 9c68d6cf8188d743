// The plug-in's view of the engine: the interface block that A6_DLLAPI keeps, the engine function
// table it fills, and accessors for the fields the plug-in reads.
#ifndef VTR3_ENGINE_H
#define VTR3_ENGINE_H

#include <windows.h>
#include <d3d9.h>

#include "frame/a6_engine.h"

// Engine function table, one entry per name of the engine's list, filled by A6_DLLAPI.
extern void* g_engineFunctions[a6::kEngineFunctionCount];

// The fields of the interface block; null (or 0) while no block is bound.
var VTR3EngineVersion();
var VTR3EngineEdition();
HWND VTR3EngineWindow();
IDirect3D9* VTR3EngineDirect3D();
IDirect3DDevice9* VTR3EngineDevice();
a6::View* VTR3EngineView();

// The engine object of that name (a script vector, an engine view, ...) through the table's
// engine_getobj entry; null when the engine does not know it.
void* VTR3EngineGetObj(const char* name);

#endif
