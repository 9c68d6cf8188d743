// A stand-in for the plug-in in the host's tests: A6_DLLAPI and a few exports that leave a trace of
// their calls.
#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "frame/a6_engine.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

a6::InterfaceBlock* g_block = nullptr;
std::string g_trace;

// Adds the call to the trace; 0, the exports' result. (std::to_string would bring a unique symbol
// that keeps the library loaded after dlclose.)
var Trace(const char* call) {
    g_trace += call;
    g_trace += ' ';
    return 0;
}

IDirect3DDevice9* Device() {
    return reinterpret_cast<IDirect3DDevice9*>(a6::BlockField(g_block, a6::kOffsetDevice));
}

void ClearCorner(bool topLeft, D3DCOLOR colour) {
    IDirect3DDevice9* device = Device();
    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    const LONG x = topLeft ? 0 : static_cast<LONG>(viewport.Width) - 4;
    const LONG y = topLeft ? 0 : static_cast<LONG>(viewport.Height) - 4;
    const D3DRECT corner{x, y, x + 4, y + 4};
    device->Clear(1, &corner, D3DCLEAR_TARGET, colour, 1.0f, 0);
}

} // namespace

FAKE_EXPORT int A6_DLLAPI(a6::InterfaceBlock* block) {
    g_block = block;
    return a6::kDllApiResult;
}

// With the log switch 1, writes an empty log, Vantor3.html, as the plug-in does.
FAKE_EXPORT var VTR3Initialize(var log, a6::String*) {
    FILE* file = a6::VarToInt(log) == 1 ? std::fopen("Vantor3.html", "w") : nullptr;
    if (file) {
        std::fputs("<html></html>\n", file);
        std::fclose(file);
    }
    return 0;
}

FAKE_EXPORT var VTR3DeInitialize() {
    return 0;
}

// Render events and device-reset exports that leave a trace of their calls: "A(x=..,t=..)" names the
// rendered view's x and the clock (with ",stale" when the device's view and projection transforms
// are not the block's matrices, which the engine sets before this event), E the object; DrawA and DrawD also
// clear a 4x4 corner of the target (A bottom right green, D top left magenta), so pixels show what the engine
// drew after each.
FAKE_EXPORT var VTR3RenderDrawA() {
    const auto* view = reinterpret_cast<const a6::View*>(a6::BlockField(g_block, a6::kOffsetView));
    bool stale = false;
    for (const auto& [state, offset] : {std::pair{D3DTS_VIEW, a6::kOffsetViewMatrix},
                                        std::pair{D3DTS_PROJECTION, a6::kOffsetProjectionMatrix}}) {
        D3DMATRIX transform;
        Device()->GetTransform(state, &transform);
        stale |= std::memcmp(&transform, reinterpret_cast<const void*>(a6::BlockField(g_block, offset)),
                             sizeof transform) != 0;
    }
    char call[64];
    std::snprintf(call, sizeof call, "A(x=%d,t=%lu%s)", a6::VarToInt(view->word[a6::kViewX]),
                  static_cast<unsigned long>(GetTickCount()), stale ? ",stale" : "");
    ClearCorner(false, D3DCOLOR_XRGB(0, 255, 0));
    return Trace(call);
}

FAKE_EXPORT var VTR3RenderDrawD() {
    ClearCorner(true, D3DCOLOR_XRGB(255, 0, 255));
    return Trace("D");
}

FAKE_EXPORT var VTR3RenderDrawE(var id) {
    char call[32];
    std::snprintf(call, sizeof call, "E%d", a6::VarToInt(id));
    return Trace(call);
}

FAKE_EXPORT var VTR3ReleaseResources() {
    return Trace("Release");
}

FAKE_EXPORT var VTR3RecreateResources() {
    return Trace("Recreate");
}

// The trace so far; the next call starts a new one.
FAKE_EXPORT const char* FakeTrace() {
    static std::string taken;
    taken.swap(g_trace);
    g_trace.clear();
    return taken.c_str();
}
