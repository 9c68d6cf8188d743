// Helpers of the effect framework tests: running the preprocessor and parser over a text, writing
// effect files into a scratch directory, and a device with an effect made from text.
#ifndef VTR3_TESTS_UNIT_FX_FX_TEST_SUPPORT_H
#define VTR3_TESTS_UNIT_FX_FX_TEST_SUPPORT_H

#include "fx/diagnostics.h"
#include "fx/effect_parser.h"
#include "fx/effect_source.h"

#include <d3dx9.h>

#include <fstream>
#include <string>
#include <vector>

struct ParsedEffect {
    platform::fx::EffectSource source;
    platform::fx::EffectModel model;
    platform::fx::Diagnostics diagnostics;
    bool ok = false;
};

inline ParsedEffect ParseText(const std::string& text, const std::string& name = "test.fx",
                              const std::string& directory = "") {
    ParsedEffect parsed;
    platform::fx::SourceInput input;
    input.name = name;
    input.directory = directory;
    input.text = text;
    parsed.ok = platform::fx::Preprocess(input, &parsed.source, &parsed.diagnostics) &&
                platform::fx::ParseEffect(parsed.source, &parsed.model, &parsed.diagnostics);
    return parsed;
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// The text `times` over.
inline std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int k = 0; k < times; ++k)
        out += text;
    return out;
}

// Small texts that would ask for gigabytes, each with the message that refuses it ("" for an effect):
// macros repeating their argument 100 times a level, parameters past their own size or together past
// all parameters' size, and arrays of a 4096-member struct, whose element views must not each copy the
// member list. The hostile-file tests check the messages; the fuzz replay damages the texts.
struct HostileText {
    std::string text, errors;
};
inline std::vector<HostileText> OverBudgetTexts() {
    std::string macros, many, views = "struct S { float " + Repeat("a, ", 4095) + "a; };\n";
    for (int level = 1; level <= 5; ++level)
        macros += "#define M" + std::to_string(level) + "(x) M" + std::to_string(level + 1) + "(" +
                  Repeat("x ", 100) + ")\n";
    for (int k = 0; k < 5; ++k)
        many += "float4x4 m" + std::to_string(k) + "[65536];\n";
    for (int k = 0; k < 15; ++k)
        views += "S s" + std::to_string(k) + "[64];\n";
    const std::string tooLarge = ": error X3000: parameter ";
    return {
        {macros + "float f = 1;\nfloat g = M1(2);\n",
         "memory(7,11): error X1000: macro expansion exceeds 1048576 tokens\n"},
        {macros + "technique T { pass { ZEnable = M1(1); } }\n",
         "memory(6,32): error X1000: macro expansion exceeds 1048576 tokens\n"},
        {"float4 a[4];\nstruct A { float4 v[4096]; };\nA b[1000000];\n",
         "memory(3,3)" + tooLarge + "'b' is too large: 16384000000 words, at most 1048576\n"},
        {"struct A { float4 v[4096]; };\nA a[4294967295];\n",
         "memory(2,3)" + tooLarge + "'a' is too large: 70368744161280 words, at most 1048576\n"},
        {"float4x4 m[268435456];\n",
         "memory(1,10)" + tooLarge + "'m' is too large: 4294967296 words, at most 1048576\n"},
        {many, "memory(5,10)" + tooLarge +
                   "'m4' makes the effect's parameters too large: at most 4194304 words in all\n"},
        {views + "float4 c;\n", ""},
    };
}

// The text of a compiler message buffer, or "" for none.
inline std::string BufferText(ID3DXBuffer* buffer) {
    return buffer ? std::string(static_cast<const char*>(buffer->GetBufferPointer())) : std::string();
}

// D3DXCreateEffect over the text; the compiler's messages go to *errors.
inline HRESULT CreateEffect(IDirect3DDevice9* device, const std::string& text, ID3DXEffect** effect,
                            std::string* errors, ID3DXEffectPool* pool = nullptr, DWORD flags = 0) {
    ID3DXBuffer* messages = nullptr;
    const HRESULT result = D3DXCreateEffect(device, text.data(), static_cast<UINT>(text.size()), nullptr,
                                            nullptr, flags, pool, effect, &messages);
    *errors = BufferText(messages);
    if (messages)
        messages->Release();
    return result;
}

#endif
