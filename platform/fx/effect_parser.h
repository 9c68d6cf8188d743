// The effect syntax over the preprocessed text: parameters with types, semantics, annotations and
// default values; textures; samplers with sampler_state blocks; shader variables; techniques and
// passes with state assignments. The HLSL handed to glslang is the same text with the effect-only
// parts replaced by spaces, line breaks kept, so glslang's line and column numbers stay true.
#ifndef VTR3_PLATFORM_FX_EFFECT_PARSER_H
#define VTR3_PLATFORM_FX_EFFECT_PARSER_H

#include "fx/diagnostics.h"
#include "fx/effect_model.h"
#include "fx/effect_source.h"

namespace platform::fx {

// False with diagnostics on an effect-syntax fault (unknown state, bad value, unknown entry point).
bool ParseEffect(const EffectSource& source, EffectModel* model, Diagnostics* diagnostics);

} // namespace platform::fx

#endif
