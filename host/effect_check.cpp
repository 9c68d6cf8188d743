#include "effect_check.h"

#include <d3dx9.h>

#include <cstdio>
#include <regex>

#include "back_buffer.h"

namespace host {

std::string CompilerMessage(const std::string& line, const std::string& file) {
    static const std::regex kForm(R"(^(.*)\((\d+),(\d+)\): (error|warning) (X\d+): (.*)$)");
    std::smatch part;
    if (std::regex_match(line, part, kForm)) {
        return part[1].str() + ":" + part[2].str() + ":" + part[3].str() + ": " + part[4].str() + ": " +
               part[6].str() + " [" + part[5].str() + "]";
    }
    return file + ": error: " + line;
}

ID3DXEffect* CompileEffectFile(IDirect3DDevice9* device, const std::string& path, std::string* messages,
                               HRESULT* result) {
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    *result = D3DXCreateEffectFromFileA(device, path.c_str(), nullptr, nullptr, 0, nullptr, &effect, &errors);
    messages->clear();
    if (errors) {
        const char* text = static_cast<const char*>(errors->GetBufferPointer());
        messages->assign(text, strnlen(text, errors->GetBufferSize()));
        errors->Release();
    }
    if (FAILED(*result) && effect) {
        effect->Release();
        effect = nullptr;
    }
    if (!effect && SUCCEEDED(*result)) {
        *result = E_FAIL;
    }
    return effect;
}

EffectCheck CheckEffect(IDirect3DDevice9* device, const std::string& path) {
    EffectCheck check;
    std::string all;
    HRESULT result = S_OK;
    ID3DXEffect* effect = CompileEffectFile(device, path, &all, &result);
    std::size_t begin = 0;
    while (begin < all.size()) {
        std::size_t end = all.find('\n', begin);
        end = end == std::string::npos ? all.size() : end;
        if (end > begin) {
            check.messages.push_back(CompilerMessage(all.substr(begin, end - begin), path));
        }
        begin = end + 1;
    }
    if (!effect) {
        check.failure = "D3DXCreateEffectFromFileA failed with " + ResultText(result);
        return check;
    }
    check.compiled = true;
    D3DXEFFECT_DESC description{};
    effect->GetDesc(&description);
    for (UINT i = 0; i < description.Techniques; ++i) {
        const D3DXHANDLE technique = effect->GetTechnique(i);
        D3DXTECHNIQUE_DESC techniqueDescription{};
        if (!technique || FAILED(effect->GetTechniqueDesc(technique, &techniqueDescription))) {
            continue;
        }
        check.techniques.push_back(TechniqueCheck{techniqueDescription.Name ? techniqueDescription.Name : "",
                                                  techniqueDescription.Passes,
                                                  SUCCEEDED(effect->ValidateTechnique(technique))});
    }
    effect->Release();
    return check;
}

} // namespace host
