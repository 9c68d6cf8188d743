// Where a name stands in the engine function table that the plug-in resolves.
#ifndef VTR3_HOST_ENGINE_NAMES_H
#define VTR3_HOST_ENGINE_NAMES_H

#include <cstddef>
#include <optional>

namespace host {

// The entry of that name; none for a name that is not in the table, or no name.
std::optional<std::size_t> EngineNameIndex(const char* name);

} // namespace host

#endif
