// From effect text to what an Effect needs: preprocess, parse the effect syntax, compile every
// pass's shaders (cached, crash-isolated), and map glslang's messages back to files and lines.
#ifndef VTR3_PLATFORM_FX_EFFECT_BUILD_H
#define VTR3_PLATFORM_FX_EFFECT_BUILD_H

#include "fx/diagnostics.h"
#include "fx/effect_model.h"
#include "fx/effect_source.h"
#include "fx/shader_request.h"

#include <memory>
#include <vector>

namespace platform::fx {

struct CompiledStage {
    bool present = false;
    std::string profile;
    std::string entry;
    std::vector<std::vector<float>> arguments; // literal arguments for the entry's uniform parameters
    std::vector<std::string> uniformParameters;
    ShaderResult result;
};

struct CompiledPass {
    CompiledStage vertex;
    CompiledStage pixel;
    // A stage chosen from an array of shaders by a parameter when the pass begins.
    std::vector<CompiledStage> vertexChoices;
    std::vector<CompiledStage> pixelChoices;
    std::string vertexSelector;
    std::string pixelSelector;
};

struct BuiltEffect {
    EffectModel model;
    std::vector<std::vector<CompiledPass>> passes; // [technique][pass]
};

bool BuildEffect(const SourceInput& input, BuiltEffect* effect, Diagnostics* diagnostics);

} // namespace platform::fx

#endif
