// Fuzzing entry point of the effect parser: any bytes as an effect file go through the preprocessor
// and the effect-syntax parser (the shader compiler runs in a child process and is not fuzzed here).
// #include never reaches the disk: the include handler refuses every file.
#include "fx/effect_parser.h"
#include "fx/effect_source.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

struct NoFiles : ID3DXInclude {
    HRESULT Open(D3DXINCLUDE_TYPE, LPCSTR, LPCVOID, LPCVOID* data, UINT* bytes) override {
        *data = nullptr;
        *bytes = 0;
        return E_FAIL;
    }
    HRESULT Close(LPCVOID) override { return S_OK; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NoFiles noFiles;
    platform::fx::SourceInput input;
    input.name = "fuzz.fx";
    input.text.assign(reinterpret_cast<const char*>(data), size);
    input.include = &noFiles;
    platform::fx::EffectSource source;
    platform::fx::Diagnostics diagnostics;
    platform::fx::EffectModel model;
    if (platform::fx::Preprocess(input, &source, &diagnostics))
        platform::fx::ParseEffect(source, &model, &diagnostics);
    (void)diagnostics.Text();
    return 0;
}
