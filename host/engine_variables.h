// The storage behind the engine variables of the engine function table: what the resolver hands
// out for "time_step", "screen_size", "version" and the rest.
#ifndef VTR3_HOST_ENGINE_VARIABLES_H
#define VTR3_HOST_ENGINE_VARIABLES_H

#include <array>

#include "frame/a6_engine.h"
#include "frame/a6_engine_names.h"

namespace host {

class EngineVariables {
  public:
    // Every variable has room for a vector, so vector variables ("sky_color") and plain ones
    // ("time_step", in x) need no separate tables. Null for a name that is not a variable.
    a6::Vector* Find(const char* name);
    // The variable's `var` (a vector's x); null for a name that is not a variable.
    var* FindVar(const char* name);

  private:
    std::array<a6::Vector, a6::kEngineFunctionCount - a6::kEngineVariablesBegin> slots_{};
};

} // namespace host

#endif
