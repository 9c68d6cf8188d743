#include "resolver.h"

#include "engine_functions.h"
#include "engine_names.h"

namespace host {

void* ResolveEngineName(const char* name, const ObjectTable& objects, EngineVariables& variables) {
    const auto index = EngineNameIndex(name);
    if (!index) {
        return nullptr;
    }
    if (*index < a6::kEngineVariablesBegin) {
        return EngineFunctionAddress(*index);
    }
    if (void* object = objects.Find(name)) {
        return object;
    }
    return variables.Find(name);
}

} // namespace host
