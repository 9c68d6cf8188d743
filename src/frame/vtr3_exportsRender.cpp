// The render events: each forwards to one stage of the render core.
#include "frame/vtr3_exports.h"

#include "frame/vtr3_globals.h"
#include "render/vtr3_renderer.h"

VTR3_API var VTR3RenderDrawA() {
    g_renderer.RenderDrawA();
    return 0;
}

VTR3_API var VTR3RenderDrawB() {
    g_renderer.RenderDrawB();
    return 0;
}

VTR3_API var VTR3RenderDrawC() {
    g_renderer.RenderDrawC();
    return 0;
}

VTR3_API var VTR3RenderDrawD() {
    g_renderer.RenderDrawD();
    return 0;
}

VTR3_API var VTR3RenderDrawE(var objectId) {
    g_renderer.RenderDrawE(a6::VarToInt(objectId));
    return 0;
}
