// The view family of exported functions: each converts the script's vars and engine strings and
// forwards to one method of the view manager.
#include "frame/vtr3_exports.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_engine.h"
#include "frame/vtr3_globals.h"
#include "views/vtr3_views.h"

namespace {

typedef void (c_VTR3ViewManager::*OptionSetter)(int id, int value);
typedef void (c_VTR3ViewManager::*PlaneSetter)(int id, const D3DXVECTOR3& point, const D3DXVECTOR3& normal,
                                               int enable);

var SetOption(OptionSetter setter, var id, var value) {
    (g_viewManager.*setter)(a6::VarToInt(id), a6::VarToInt(value));
    return 0;
}

// The script vector of that name in Direct3D axis order: the engine's y and z change places.
bool FindVector(a6::String* name, D3DXVECTOR3* vector) {
    const a6::Vector* found = static_cast<const a6::Vector*>(VTR3EngineGetObj(a6::StringText(name)));
    if (!found) {
        return false;
    }
    *vector = D3DXVECTOR3(a6::VarToFloat(found->x), a6::VarToFloat(found->z), a6::VarToFloat(found->y));
    return true;
}

// A plane needs its point and normal only when it is switched on. A vector name that the engine does
// not know (or no name at all) leaves the plane as it is and says so in the log.
var SetPlane(PlaneSetter setter, const char* function, var id, a6::String* pointName, a6::String* normalName,
             var enable) {
    const int enabled = a6::VarToInt(enable);
    D3DXVECTOR3 point(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 normal(0.0f, 0.0f, 0.0f);
    if (enabled == 1) {
        a6::String* const names[] = {pointName, normalName};
        D3DXVECTOR3* const vectors[] = {&point, &normal};
        for (int i = 0; i < 2; ++i) {
            if (!FindVector(names[i], vectors[i])) {
                const char* text = a6::StringText(names[i]);
                g_debugSystem.LogError("vtr3_exports", __LINE__, function,
                                       "Der Vektor mit dem Namen: %s wurde nicht gefunden. Die aufgerufene "
                                       "Funktion wird abgebrochen",
                                       text ? text : "");
                return 0;
            }
        }
    }
    (g_viewManager.*setter)(a6::VarToInt(id), point, normal, enabled);
    return 0;
}

} // namespace

VTR3_API var VTR3ViewRegister(var id, a6::String* name) {
    g_viewManager.RegisterView(a6::VarToInt(id), a6::StringText(name));
    return 0;
}

VTR3_API var VTR3ViewUnregister(var id) {
    g_viewManager.UnregisterView(a6::VarToInt(id));
    return 0;
}

VTR3_API var VTR3ViewSetClipPlane(var id, a6::String* point, a6::String* normal, var enable) {
    return SetPlane(&c_VTR3ViewManager::SetClipPlane, "VTR3ViewSetClipPlane", id, point, normal, enable);
}

VTR3_API var VTR3ViewSetMirrorPlane(var id, a6::String* point, a6::String* normal, var enable) {
    return SetPlane(&c_VTR3ViewManager::SetMirrorPlane, "VTR3ViewSetMirrorPlane", id, point, normal, enable);
}

VTR3_API var VTR3ViewSetHDR(var id, var value) {
    return SetOption(&c_VTR3ViewManager::SetHighDynamicRange, id, value);
}

VTR3_API var VTR3ViewSetRTT(var id, var value) {
    return SetOption(&c_VTR3ViewManager::SetRenderToTexture, id, value);
}

VTR3_API var VTR3ViewSetRenderToDepthTexture(var id, var value) {
    return SetOption(&c_VTR3ViewManager::SetRenderToDephtTexture, id, value);
}

VTR3_API var VTR3ViewSetSmoothShadows(var id, var value) {
    return SetOption(&c_VTR3ViewManager::SetSmoothShadows, id, value);
}

VTR3_API var VTR3ViewSetPostProcessing(var id, var value) {
    return SetOption(&c_VTR3ViewManager::SetPostProcessing, id, value);
}

VTR3_API var VTR3ViewSetPostProcessingEffect(var id, var index, var effectId) {
    g_viewManager.SetPostProcessEffect(a6::VarToInt(id), a6::VarToInt(index), a6::VarToInt(effectId));
    return 0;
}
