// The GL entry points the state cache calls, as a table of function pointers. A device uses the
// system's; a test hands the cache a table that records each call instead, so the exact calls a
// state change makes can be checked without a context.
#ifndef VTR3_PLATFORM_DEVICE_GL_FUNCTIONS_H
#define VTR3_PLATFORM_DEVICE_GL_FUNCTIONS_H

#include "device/gl_api.h"

namespace platform::device {

struct GlFunctions {
    decltype(&glEnable) Enable;
    decltype(&glDisable) Disable;
    decltype(&glBindFramebuffer) BindFramebuffer;
    decltype(&glScissor) Scissor;
    decltype(&glColorMaski) ColorMaski;
    decltype(&glDepthMask) DepthMask;
    decltype(&glStencilMask) StencilMask;
    decltype(&glBlendFuncSeparate) BlendFuncSeparate;
    decltype(&glBlendEquationSeparate) BlendEquationSeparate;
    decltype(&glBlendColor) BlendColor;
    decltype(&glDepthFunc) DepthFunc;
    decltype(&glStencilFuncSeparate) StencilFuncSeparate;
    decltype(&glStencilOpSeparate) StencilOpSeparate;
    decltype(&glCullFace) CullFace;
    decltype(&glPolygonMode) PolygonMode;
    decltype(&glPolygonOffset) PolygonOffset;
    decltype(&glViewport) Viewport;
    decltype(&glDepthRangef) DepthRangef;
    decltype(&glBindVertexArray) BindVertexArray;
    decltype(&glUseProgram) UseProgram;
    decltype(&glBindProgramPipeline) BindProgramPipeline;
    decltype(&glBindTextureUnit) BindTextureUnit;
    decltype(&glBindSampler) BindSampler;
};

// The entry points of the GL library the platform links.
const GlFunctions& SystemGl();

} // namespace platform::device

#endif
