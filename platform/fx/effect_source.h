// The first step of compiling an effect: #include, #if/#ifdef/#elif/#else/#endif and the macro
// table. The result is one text with a line map back to the files. Lines of inactive branches and
// of the directives handled here are emptied; #define and #undef lines stay for glslang's own
// preprocessor, so every line keeps its number within its file.
#ifndef VTR3_PLATFORM_FX_EFFECT_SOURCE_H
#define VTR3_PLATFORM_FX_EFFECT_SOURCE_H

#include "fx/diagnostics.h"
#include "fx/effect_model.h"

#include <d3dx9shader.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform::fx {

struct Macro {
    std::string name;
    bool functionLike = false;
    std::vector<std::string> parameters;
    std::string body;
    int definedAt = -1;        // combined line index; -1: given by the caller
    int undefinedAt = 1 << 30; // combined line index of the #undef
};

struct EffectSource {
    std::vector<std::string> files;    // as named: the main path first, then includes
    std::string text;                  // combined, '\n' separated
    std::vector<SourceLocation> lines; // for each combined line: its file and line (column 1)
    std::vector<Macro> macros;

    // The macro in force at a combined line, or null.
    const Macro* FindMacro(const std::string& name, int line) const;
    SourceLocation Locate(int combinedLine, int column) const;
};

struct SourceInput {
    std::string name;      // path or "memory"
    std::string directory; // where relative includes are found; empty for the current directory
    std::string text;
    const D3DXMACRO* defines = nullptr;
    ID3DXInclude* include = nullptr;
};

// An effect file, each of its includes, and all of them together: far beyond any effect's source,
// and small enough that its tokens stay within tens of megabytes.
constexpr std::uint64_t kMaxSourceBytes = std::uint64_t{1} << 20;

// Reads an effect file or an include from disk: only a regular file of at most kMaxSourceBytes.
// False with the compiler's message about `name` (the file as the author named it) otherwise.
bool ReadSourceFile(const std::string& path, const std::string& name, std::string* text,
                    std::string* failure);

// False with diagnostics on a fault (a missing include, an unbalanced #if, #error).
bool Preprocess(const SourceInput& input, EffectSource* source, Diagnostics* diagnostics);

} // namespace platform::fx

#endif
