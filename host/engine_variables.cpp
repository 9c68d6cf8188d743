#include "engine_variables.h"

#include "engine_names.h"

namespace host {

a6::Vector* EngineVariables::Find(const char* name) {
    const auto index = EngineNameIndex(name);
    return index && *index >= a6::kEngineVariablesBegin ? &slots_[*index - a6::kEngineVariablesBegin]
                                                        : nullptr;
}

var* EngineVariables::FindVar(const char* name) {
    a6::Vector* slot = Find(name);
    return slot ? &slot->x : nullptr;
}

} // namespace host
