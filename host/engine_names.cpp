#include "engine_names.h"

#include <cstring>

#include "frame/a6_engine_names.h"

namespace host {

std::optional<std::size_t> EngineNameIndex(const char* name) {
    if (!name) {
        return std::nullopt;
    }
    // Binding asks for each of the 244 names once: a linear search is all it needs.
    for (std::size_t i = 0; i < a6::kEngineFunctionCount; ++i) {
        if (std::strcmp(a6::kEngineFunctionNames[i], name) == 0) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace host
