// The effect family of exported functions: each converts the script's vars and engine strings and
// forwards to one method of the effect manager.
#include "frame/vtr3_exports.h"

#include "frame/vtr3_globals.h"
#include "resources/vtr3_effects.h"

VTR3_API var VTR3EffectCreate(var id) {
    g_effectManager.EffectCreate(a6::VarToInt(id));
    return 0;
}

VTR3_API var VTR3EffectDelete(var id) {
    g_effectManager.EffectDelete(a6::VarToInt(id));
    return 0;
}

VTR3_API var VTR3EffectInitialize(var id) {
    g_effectManager.EffectInitialize(a6::VarToInt(id));
    return 0;
}

VTR3_API var VTR3EffectSetPath(var id, a6::String* path) {
    g_effectManager.SetPath(a6::VarToInt(id), a6::StringText(path));
    return 0;
}

VTR3_API var VTR3EffectSetTex(var id, var index, var textureId) {
    g_effectManager.SetEffectTex(a6::VarToInt(id), a6::VarToInt(index), a6::VarToInt(textureId));
    return 0;
}

// A negative index becomes a large unsigned one, which the manager ignores.
VTR3_API var VTR3EffectSetValue(var id, var index, var value) {
    g_effectManager.SetEffectValue(a6::VarToInt(id), static_cast<unsigned int>(a6::VarToInt(index)),
                                   a6::VarToFloat(value));
    return 0;
}
