// The effect checker's work: compile an effect file on a device, list its techniques and whether
// each validates there, and the compiler's messages in the form command-line compilers print.
#ifndef VTR3_HOST_EFFECT_CHECK_H
#define VTR3_HOST_EFFECT_CHECK_H

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <string>
#include <vector>

namespace host {

struct TechniqueCheck {
    std::string name;
    unsigned passes = 0;
    bool valid = false; // ValidateTechnique succeeded
};

struct EffectCheck {
    bool compiled = false;
    std::string failure;               // why creation failed, when the compiler said nothing
    std::vector<std::string> messages; // "file:line:column: error: message [X3004]", then warnings
    std::vector<TechniqueCheck> techniques;
};

EffectCheck CheckEffect(IDirect3DDevice9* device, const std::string& path);

// Compiles the effect file with D3DX: the effect (one reference for the caller), or null with
// `result` saying why; `messages` receives the compiler's text as it writes it, lines of
// "file(line,col): error Xnnnn: text".
ID3DXEffect* CompileEffectFile(IDirect3DDevice9* device, const std::string& path, std::string* messages,
                               HRESULT* result);

// "path(3,7): error X3004: text" as "path:3:7: error: text [X3004]"; a line in no known form is
// "file: error: line".
std::string CompilerMessage(const std::string& line, const std::string& file);

} // namespace host

#endif
