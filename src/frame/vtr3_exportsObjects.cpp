// The object family of exported functions: each converts the script's vars and forwards to one method
// of the object manager.
#include "frame/vtr3_exports.h"

#include "frame/vtr3_globals.h"
#include "objects/vtr3_objects.h"

namespace {

int Int(var value) {
    return a6::VarToInt(value);
}

float Float(var value) {
    return a6::VarToFloat(value);
}

} // namespace

VTR3_API var VTR3ObjectCreate(var id, var kind) {
    const int scriptType = Int(kind);
    if (scriptType < 1 || scriptType > 3) {
        return a6::VarFromInt(1);
    }
    g_objectManager.CreateObject(Int(id), static_cast<unsigned int>(scriptType - 1));
    return 0;
}

VTR3_API var VTR3ObjectDelete(var id) {
    g_objectManager.DeleteObject(Int(id));
    return 0;
}

VTR3_API var VTR3ObjectInitialize(var id) {
    g_objectManager.InitializeObject(Int(id));
    return 0;
}

VTR3_API var VTR3ObjectSetEffect(var id, var effectId) {
    g_objectManager.SetEffect(Int(id), Int(effectId));
    return 0;
}

VTR3_API var VTR3ObjectSetTexture(var id, var stage, var textureId) {
    g_objectManager.SetTexture(Int(id), Int(stage), Int(textureId));
    return 0;
}

VTR3_API var VTR3ObjectSetSkill(var id, var index, var value) {
    g_objectManager.SetSkill(Int(id), Int(index), Float(value));
    return 0;
}

VTR3_API var VTR3ObjectSetFlag(var id, var index, var value) {
    g_objectManager.SetFlag(Int(id), Int(index), Int(value));
    return 0;
}

// The engine's vertical axis is its third, Direct3D's its second.
VTR3_API var VTR3ObjectSetPosition(var id, var x, var y, var z) {
    g_objectManager.SetPosition(Int(id), Float(x), Float(z), Float(y));
    return 0;
}

// Angles keep their order.
VTR3_API var VTR3ObjectSetRotation(var id, var a, var b, var c) {
    g_objectManager.SetRotation(Int(id), Float(a), Float(b), Float(c));
    return 0;
}

VTR3_API var VTR3ObjectSetScalation(var id, var x, var y, var z) {
    g_objectManager.SetScalation(Int(id), Float(x), Float(z), Float(y));
    return 0;
}
