// Matches the translated shader's inputs and outputs to the device's fixed locations by semantic
// (shader_interface.h): names them before SPIRV-Cross writes GLSL, then rewrites their declarations
// and wraps main so that every varying is a vec4 and the vertex stage ends in vtr3_EmitPosition.
#ifndef VTR3_PLATFORM_FX_SHADERC_GLSL_FIXUP_H
#define VTR3_PLATFORM_FX_SHADERC_GLSL_FIXUP_H

#include "fx/shaderc/shader_compiler.h"

#include <spirv_cross/spirv_cross_c.h>

#include <string>
#include <vector>

namespace platform::fx {

struct Semantic {
    std::string name; // upper case, without the index: TEXCOORD
    int index = 0;
    bool centroid = false; // TEXCOORD0_centroid
};
Semantic ParseSemantic(const std::string& text);

// Where a varying semantic lives; -1 when it is none (POSITION, PSIZE, DEPTH, VPOS, VFACE).
int VaryingLocation(const Semantic& semantic);
int AttributeLocation(const Semantic& semantic);

struct StageInterface {
    struct Variable {
        std::string name; // as renamed: vtr3_in_TEXCOORD0, vtr3_out_COLOR0
        Semantic semantic;
        bool input = false;
        int count = 0; // an array with one semantic: count consecutive registers from semantic.index
    };
    std::vector<Variable> variables;
};

// Renames the stage's inputs and outputs by semantic and sets vertex-attribute and pixel-output
// locations. False with a message for a semantic the stage cannot have.
bool PrepareInterface(spvc_compiler compiler, spvc_resources resources, ShaderStage stage,
                      StageInterface* stageInterface, std::string* error);

// Rewrites the GLSL SPIRV-Cross wrote. `clampColors`: COLOR outputs of shader models below 3.
bool RewriteGlsl(const StageInterface& stageInterface, ShaderStage stage, bool clampColors, std::string* glsl,
                 std::string* error);

} // namespace platform::fx

#endif
