// The engine functions behind the function entries of the engine function table.
#ifndef VTR3_HOST_ENGINE_FUNCTIONS_H
#define VTR3_HOST_ENGINE_FUNCTIONS_H

#include <cstddef>

namespace host {

// The address of the function entry `entry` (below a6::kEngineVariablesBegin): the engine's object
// and script access (engine_getobj, engine_getscript, engine_getfunc, engine_callname4,
// engine_callscript4) for real, any other function a stub that ignores its arguments and returns
// the `var` 0. Never null, so that no entry of the plug-in's table is.
void* EngineFunctionAddress(std::size_t entry);

} // namespace host

#endif
