// The GL entry points the state cache calls, as a table of function pointers. A device uses the
// system's; a test hands the cache a table that records each call instead, so the exact calls a
// state change makes can be checked without a context.
#ifndef VTR3_PLATFORM_DEVICE_GL_FUNCTIONS_H
#define VTR3_PLATFORM_DEVICE_GL_FUNCTIONS_H

#include "device/gl_api.h"

// X(name) for each entry point glName of the table, by the state it sets.
// clang-format off
#define VTR3_GL_FUNCTIONS(X)                                                                      \
    X(Enable) X(Disable)                                                                          \
    X(BindFramebuffer) X(Scissor) X(Viewport) X(DepthRangef)                                      \
    X(ColorMask) X(DepthMask) X(StencilMask)                                                      \
    X(BlendFuncSeparate) X(BlendEquationSeparate) X(BlendColor)                                   \
    X(DepthFunc) X(StencilFuncSeparate) X(StencilOpSeparate)                                      \
    X(CullFace) X(PolygonMode) X(PolygonOffset)                                                   \
    X(BindVertexArray) X(UseProgram) X(BindProgramPipeline) X(BindTextureUnit) X(BindSampler)
// clang-format on

namespace platform::device {

struct GlFunctions {
#define VTR3_GL_MEMBER(name) decltype(&gl##name) name;
    VTR3_GL_FUNCTIONS(VTR3_GL_MEMBER)
#undef VTR3_GL_MEMBER
};

// The entry points of the GL library the platform links.
const GlFunctions& SystemGl();

} // namespace platform::device

#endif
