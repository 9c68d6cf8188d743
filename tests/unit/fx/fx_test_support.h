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
