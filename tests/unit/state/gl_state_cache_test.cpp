// The GL calls the state cache makes, recorded through its function table instead of a context:
// a change reaches GL with exactly the calls it needs, an unchanged state with none.
#include "device/device_state.h"
#include "device/device_state_gl.h"
#include "device/gl_state_cache.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace platform::device {
namespace {

std::vector<std::string> g_calls;

template <typename... Args> std::string Call(const char* name, Args... args) {
    std::ostringstream out;
    out << name << '(';
    const char* separator = "";
    ((out << separator << +args, separator = ","), ...);
    out << ')';
    return out.str();
}

GlFunctions Recorder() {
    GlFunctions f{};
#define VTR3_RECORD(name) f.name = [](auto... args) { g_calls.push_back(Call(#name, args...)); };
    VTR3_GL_FUNCTIONS(VTR3_RECORD)
#undef VTR3_RECORD
    return f;
}

// Direct3D's defaults with one render state changed.
DeviceState With(D3DRENDERSTATETYPE state, DWORD value) {
    DeviceState s;
    s.Reset(true, 8, 8);
    s.renderStates[D3DRS_ALPHABLENDENABLE] = TRUE;
    s.renderStates[D3DRS_STENCILENABLE] = TRUE;
    s.renderStates[state] = value;
    return s;
}

// apply(gl, false) twice, the second time reaching GL not at all, then apply(gl, true) the change.
struct Case {
    const char* what;
    void (*apply)(GlStateCache& gl, bool changed);
    std::vector<std::string> expected;
};

TEST(GlStateCacheTest, ChangesMakeExactlyTheirCallsAndRepeatsNone) {
    const Case cases[] = {
        {"blend factor, A R G B",
         [](GlStateCache& gl, bool changed) {
             gl.SetBlend(BlendStateOf(With(D3DRS_BLENDFACTOR, changed ? 0xCC336699 : 0xFFFFFFFF)));
         },
         {Call("BlendColor", 0.2f, 0.4f, 0.6f, 0.8f)}},
        {"destination alpha factors",
         [](GlStateCache& gl, bool changed) {
             DeviceState s = With(D3DRS_SRCBLEND, changed ? D3DBLEND_DESTALPHA : D3DBLEND_ONE);
             s.renderStates[D3DRS_DESTBLEND] = changed ? D3DBLEND_INVDESTALPHA : D3DBLEND_ZERO;
             gl.SetBlend(BlendStateOf(s));
         },
         {Call("BlendFuncSeparate", GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_DST_ALPHA,
               GL_ONE_MINUS_DST_ALPHA)}},
        {"depth function",
         [](GlStateCache& gl, bool changed) {
             gl.SetDepthStencil(
                 DepthStencilStateOf(With(D3DRS_ZFUNC, changed ? D3DCMP_LESS : D3DCMP_LESSEQUAL), true));
         },
         {Call("DepthFunc", GL_LESS)}},
        {"stencil pass op, both faces",
         [](GlStateCache& gl, bool changed) {
             gl.SetDepthStencil(DepthStencilStateOf(
                 With(D3DRS_STENCILPASS, changed ? D3DSTENCILOP_INCR : D3DSTENCILOP_KEEP), true));
         },
         {Call("StencilOpSeparate", GL_FRONT, GL_KEEP, GL_KEEP, GL_INCR_WRAP),
          Call("StencilOpSeparate", GL_BACK, GL_KEEP, GL_KEEP, GL_INCR_WRAP)}},
        // GL hands a deleted texture's name to the next texture it creates.
        {"forgotten texture, same name",
         [](GlStateCache& gl, bool changed) {
             if (changed)
                 gl.ForgetTexture(7);
             gl.BindTextureUnit(2, 7);
         },
         {Call("BindTextureUnit", 2u, 7u)}},
        {"another texture forgotten",
         [](GlStateCache& gl, bool changed) {
             if (changed)
                 gl.ForgetTexture(8);
             gl.BindTextureUnit(2, 7);
         },
         {}},
        {"forgotten framebuffer",
         [](GlStateCache& gl, bool changed) {
             if (changed)
                 gl.ForgetFramebuffer(3);
             gl.BindDrawFramebuffer(3);
         },
         {Call("BindFramebuffer", GL_DRAW_FRAMEBUFFER, 3u)}},
        {"viewport",
         [](GlStateCache& gl, bool changed) {
             gl.SetViewport(GlRect{0, 0, 8, 8}, 0.0f, changed ? 0.5f : 1.0f);
         },
         {Call("Viewport", 0, 0, 8, 8), Call("DepthRangef", 0.0f, 0.5f)}},
        // D3DRS_COLORWRITEENABLE masks every render target alike.
        {"colour write mask",
         [](GlStateCache& gl, bool changed) { gl.SetColorMask(true, !changed, !changed, !changed); },
         {Call("ColorMask", 1, 0, 0, 0)}},
        {"clip distances",
         [](GlStateCache& gl, bool changed) { gl.SetClipDistances(changed ? 0x2 : 0x1); },
         {Call("Disable", GL_CLIP_DISTANCE0), Call("Enable", GL_CLIP_DISTANCE0 + 1)}},
    };
    for (const Case& c : cases) {
        GlStateCache gl(Recorder());
        c.apply(gl, false);
        EXPECT_FALSE(g_calls.empty()) << c.what; // a new cache knows nothing
        g_calls.clear();
        c.apply(gl, false);
        EXPECT_EQ(g_calls, std::vector<std::string>{}) << c.what;
        c.apply(gl, true);
        EXPECT_EQ(g_calls, c.expected) << c.what;
        g_calls.clear();
    }
}

TEST(GlStateCacheTest, InvalidateMakesTheNextCallReachGl) {
    GlStateCache gl(Recorder());
    gl.BindSampler(1, 4);
    gl.Invalidate();
    gl.BindSampler(1, 4);
    gl.BindSampler(1, 4);
    EXPECT_EQ(g_calls, (std::vector<std::string>{Call("BindSampler", 1u, 4u), Call("BindSampler", 1u, 4u)}));
    g_calls.clear();
}

} // namespace
} // namespace platform::device
