// The engine's resolver: the address behind a name of the engine function table.
#ifndef VTR3_HOST_RESOLVER_H
#define VTR3_HOST_RESOLVER_H

#include "engine_variables.h"
#include "object_table.h"

namespace host {

// Functions resolve to the engine's functions (or its stub); variables to the engine object of that
// name when there is one (the view "camera"), else to their storage in `variables`. Every name of
// the table resolves to a non-null address; any other name, or none, to null.
void* ResolveEngineName(const char* name, const ObjectTable& objects, EngineVariables& variables);

} // namespace host

#endif
