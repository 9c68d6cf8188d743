// The VertexShaderConstant and PixelShaderConstant pass states: a parameter's value written into the
// device's float constant registers, four floats a register, as asm shaders read them.
#include "fx/effect.h"

#include <cstring>

namespace platform::fx {
namespace {

float FloatOf(std::uint32_t word, D3DXPARAMETER_TYPE type) {
    float f = 0.0f;
    std::memcpy(&f, &word, sizeof(f));
    if (type == D3DXPT_FLOAT)
        return f;
    const auto i = static_cast<std::int32_t>(word);
    return type == D3DXPT_BOOL ? (i != 0 ? 1.0f : 0.0f) : static_cast<float>(i);
}

} // namespace

void Effect::ApplyShaderConstant(const PassState& s, ID3DXEffectStateManager* states) {
    if (s.parameter < 0)
        return;
    const Parameter& p = parameters_[static_cast<std::size_t>(s.parameter)].desc;
    if (p.cls == D3DXPC_OBJECT || p.cls == D3DXPC_STRUCT)
        return;
    const WordSpan words = Words(s.parameter);
    // A column_major matrix takes a register per column (its transpose, as HLSL's shaders read it);
    // a row_major one a register per row; a vector or scalar one register. Registers past kMax are
    // not written (far more than an asm shader's matrices take).
    constexpr std::size_t kMax = 32;
    float registers[kMax][4] = {};
    const bool columns = p.cls == D3DXPC_MATRIX_COLUMNS;
    const std::size_t perElement = columns ? p.columns : p.cls == D3DXPC_MATRIX_ROWS ? p.rows : 1;
    const std::size_t across = columns ? p.rows : p.columns;
    const std::size_t size = std::size_t{p.rows} * p.columns;
    std::size_t count = 0;
    for (std::size_t e = 0; e < (p.elements ? p.elements : 1) && count < kMax; ++e) {
        for (std::size_t r = 0; r < perElement && count < kMax; ++r, ++count) {
            for (std::size_t k = 0; k < across && k < 4; ++k) {
                const std::size_t at = e * size + (columns ? k * p.columns + r : r * p.columns + k);
                registers[count][k] = at < words.size ? FloatOf(words.data[at], p.type) : 0.0f;
            }
        }
    }
    const std::size_t most = s.id >> 1;
    const UINT n = static_cast<UINT>(most && most < count ? most : count);
    if (s.id & 1)
        states->SetPixelShaderConstantF(s.index, registers[0], n);
    else
        states->SetVertexShaderConstantF(s.index, registers[0], n);
}

} // namespace platform::fx
