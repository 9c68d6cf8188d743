#include "device/gl_functions.h"

namespace platform::device {

const GlFunctions& SystemGl() {
    static const GlFunctions functions = [] {
        GlFunctions f{};
        f.Enable = glEnable;
        f.Disable = glDisable;
        f.BindFramebuffer = glBindFramebuffer;
        f.Scissor = glScissor;
        f.ColorMaski = glColorMaski;
        f.DepthMask = glDepthMask;
        f.StencilMask = glStencilMask;
        f.BlendFuncSeparate = glBlendFuncSeparate;
        f.BlendEquationSeparate = glBlendEquationSeparate;
        f.BlendColor = glBlendColor;
        f.DepthFunc = glDepthFunc;
        f.StencilFuncSeparate = glStencilFuncSeparate;
        f.StencilOpSeparate = glStencilOpSeparate;
        f.CullFace = glCullFace;
        f.PolygonMode = glPolygonMode;
        f.PolygonOffset = glPolygonOffset;
        f.Viewport = glViewport;
        f.DepthRangef = glDepthRangef;
        f.BindVertexArray = glBindVertexArray;
        f.UseProgram = glUseProgram;
        f.BindProgramPipeline = glBindProgramPipeline;
        f.BindTextureUnit = glBindTextureUnit;
        f.BindSampler = glBindSampler;
        return f;
    }();
    return functions;
}

} // namespace platform::device
