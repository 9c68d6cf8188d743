// What the effect syntax declares, as the parser reads it: parameters (with their default values),
// samplers with their sampler_state blocks, entry functions, and techniques with passes and state
// assignments. The HLSL that glslang sees is kept beside it, with the effect-only parts blanked.
#ifndef VTR3_PLATFORM_FX_EFFECT_MODEL_H
#define VTR3_PLATFORM_FX_EFFECT_MODEL_H

#include <d3dx9effect.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform::fx {

// A place in the effect's sources: file index into EffectSource::files, 1-based line and column.
struct SourceLocation {
    int file = 0;
    int line = 1;
    int column = 1;
};

struct Annotation {
    std::string name;
    D3DXPARAMETER_CLASS cls = D3DXPC_SCALAR; // D3DXPC_OBJECT for strings
    D3DXPARAMETER_TYPE type = D3DXPT_FLOAT;
    UINT rows = 1;
    UINT columns = 1;
    std::string text;          // string annotations
    std::vector<float> values; // numeric annotations
};

// The value side of a state assignment: a number, a named constant, a reference to a parameter
// (<name> or (name)), a shader compile statement or an asm block.
struct StateValue {
    enum class Kind { Number, Name, Reference, Compile, Null, Expression, Asm };
    Kind kind = Kind::Number;
    std::vector<double> numbers; // Number (one or more; double keeps 32-bit colours exact)
    std::string name;            // Name: the constant text (possibly "A | B"); Reference: parameter
    std::string profile;         // Compile and Asm: vs_2_0, ps_3_0, ...
    std::string glsl;            // Asm: the separable program translated from the block's assembly
    std::string entry;           // Compile: entry function
    std::vector<std::vector<float>> arguments; // Compile: literal arguments for uniform parameters
    std::string selector;                // Reference to a shader array: the parameter (or number) indexing it
    std::vector<std::string> expression; // Expression: its tokens, `(fAlpha * 255)`
};

struct StateAssignment {
    std::string name; // as written
    int index = -1;   // [n] when given
    StateValue value;
    SourceLocation where;
};

struct Parameter {
    std::string name;
    std::string semantic;
    D3DXPARAMETER_CLASS cls = D3DXPC_SCALAR;
    D3DXPARAMETER_TYPE type = D3DXPT_FLOAT;
    UINT rows = 1;
    UINT columns = 1;
    UINT elements = 0; // 0: not an array
    bool shared = false;
    std::vector<Annotation> annotations;
    std::vector<float> defaults;                // numeric default, flattened in declaration order
    std::vector<StateAssignment> samplerStates; // sampler_state { ... }
    int samplerRegister = -1;                   // register(sN)
    std::string stringValue;
    SourceLocation where;
    std::vector<Parameter> members; // D3DXPC_STRUCT: the struct's members, in declaration order
};

// The uniform parameters of an entry function, which compile statements bind literal arguments to.
struct FunctionInfo {
    std::string name;
    std::vector<std::string> uniformParameters;
};

struct Pass {
    std::string name;
    std::vector<Annotation> annotations;
    std::vector<StateAssignment> states;
    SourceLocation where;
};

struct Technique {
    std::string name;
    std::vector<Annotation> annotations;
    std::vector<Pass> passes;
    SourceLocation where;
};

// A variable of type VertexShader / PixelShader: `vertexshader vs = compile vs_2_0 VS();`.
struct ShaderVariable {
    std::string name;
    StateValue value;
    std::vector<StateValue> elements; // an array of shaders: `vertexshader vs[2] = { compile ..., ... };`
};

struct EffectModel {
    std::vector<Parameter> parameters;
    std::vector<Technique> techniques;
    std::vector<FunctionInfo> functions;
    std::vector<ShaderVariable> shaderVariables;
    std::string hlsl;    // the sources for glslang, effect-only parts blanked, lines kept
    bool blanked = true; // false when an effect-syntax error left effect-only text in `hlsl`
};

} // namespace platform::fx

#endif
