// Parameter values: the Set and Get family. A handle is a parameter handle or its name; an unknown
// one, a wrong kind of parameter or a missing pointer is D3DERR_INVALIDCALL and changes nothing.
#include "fx/effect.h"

#include <algorithm>
#include <cstring>

namespace platform::fx {

std::uint32_t FloatWord(float f, D3DXPARAMETER_TYPE type) {
    if (type == D3DXPT_BOOL)
        return f != 0.0f ? 1u : 0u;
    if (type != D3DXPT_FLOAT)
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(f));
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof(bits));
    return bits;
}

namespace {

float WordFloat(std::uint32_t word, D3DXPARAMETER_TYPE type) {
    if (type != D3DXPT_FLOAT)
        return static_cast<float>(static_cast<std::int32_t>(word));
    float f = 0.0f;
    std::memcpy(&f, &word, sizeof(f));
    return f;
}

bool IsTextureType(D3DXPARAMETER_TYPE t) {
    return t >= D3DXPT_TEXTURE && t <= D3DXPT_TEXTURECUBE;
}

} // namespace

HRESULT Effect::WriteFloats(D3DXHANDLE handle, const float* values, UINT count, UINT offset) {
    const int index = FindParameter(handle);
    if (index < 0 || !values)
        return D3DERR_INVALIDCALL;
    ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT)
        return D3DERR_INVALIDCALL;
    const std::size_t n = std::min<std::size_t>(count, words.size > offset ? words.size - offset : 0);
    for (std::size_t i = 0; i < n; ++i)
        words.data[offset + i] = FloatWord(values[i], slot.desc.type);
    ++slot.value->version;
    return D3D_OK;
}

HRESULT Effect::WriteInts(D3DXHANDLE handle, const INT* values, UINT count) {
    const int index = FindParameter(handle);
    if (index < 0 || !values)
        return D3DERR_INVALIDCALL;
    ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT)
        return D3DERR_INVALIDCALL;
    const std::size_t n = std::min<std::size_t>(count, words.size);
    for (std::size_t i = 0; i < n; ++i) {
        words.data[i] = slot.desc.type == D3DXPT_FLOAT
                            ? FloatWord(static_cast<float>(values[i]), D3DXPT_FLOAT)
                        : slot.desc.type == D3DXPT_BOOL ? (values[i] != 0 ? 1u : 0u)
                                                        : static_cast<std::uint32_t>(values[i]);
    }
    ++slot.value->version;
    return D3D_OK;
}

HRESULT Effect::ReadFloats(D3DXHANDLE handle, float* values, UINT count) const {
    const int index = FindParameter(handle);
    if (index < 0 || !values)
        return D3DERR_INVALIDCALL;
    const ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT)
        return D3DERR_INVALIDCALL;
    for (std::size_t i = 0; i < count && i < words.size; ++i)
        values[i] = WordFloat(words.data[i], slot.desc.type);
    return D3D_OK;
}

HRESULT Effect::ReadInts(D3DXHANDLE handle, INT* values, UINT count) const {
    const int index = FindParameter(handle);
    if (index < 0 || !values)
        return D3DERR_INVALIDCALL;
    const ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT)
        return D3DERR_INVALIDCALL;
    for (std::size_t i = 0; i < count && i < words.size; ++i) {
        values[i] = slot.desc.type == D3DXPT_FLOAT ? static_cast<INT>(WordFloat(words.data[i], D3DXPT_FLOAT))
                                                   : static_cast<INT>(words.data[i]);
    }
    return D3D_OK;
}

// Matrices: a parameter of R rows and C columns takes the upper-left R x C of each D3DXMATRIX, in
// its mathematical meaning, whatever the packing (row_major or column_major) of the HLSL type.
HRESULT Effect::WriteMatrices(D3DXHANDLE handle, const D3DXMATRIX* const* matrices, UINT count,
                              bool transpose) {
    const int index = FindParameter(handle);
    if (index < 0 || !matrices)
        return D3DERR_INVALIDCALL;
    ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT || slot.desc.type != D3DXPT_FLOAT)
        return D3DERR_INVALIDCALL;
    for (UINT m = 0; m < count; ++m) {
        if (!matrices[m])
            return D3DERR_INVALIDCALL;
    }
    const UINT rows = slot.desc.rows;
    const UINT columns = slot.desc.columns;
    const std::size_t perMatrix = std::size_t{rows} * columns;
    for (UINT m = 0; m < count && (m + 1) * perMatrix <= words.size; ++m) {
        for (UINT r = 0; r < rows; ++r) {
            for (UINT c = 0; c < columns; ++c) {
                const float v = transpose ? matrices[m]->m[c][r] : matrices[m]->m[r][c];
                words.data[m * perMatrix + r * columns + c] = FloatWord(v, D3DXPT_FLOAT);
            }
        }
    }
    ++slot.value->version;
    return D3D_OK;
}

HRESULT Effect::ReadMatrices(D3DXHANDLE handle, D3DXMATRIX* matrices, UINT count, bool transpose) const {
    const int index = FindParameter(handle);
    if (index < 0 || !matrices)
        return D3DERR_INVALIDCALL;
    const ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT || slot.desc.type != D3DXPT_FLOAT)
        return D3DERR_INVALIDCALL;
    const UINT rows = slot.desc.rows;
    const UINT columns = slot.desc.columns;
    const std::size_t perMatrix = std::size_t{rows} * columns;
    for (UINT m = 0; m < count; ++m) {
        std::memset(&matrices[m], 0, sizeof(D3DXMATRIX));
        if ((m + 1) * perMatrix > words.size)
            continue;
        for (UINT r = 0; r < rows; ++r) {
            for (UINT c = 0; c < columns; ++c) {
                const float v = WordFloat(words.data[m * perMatrix + r * columns + c], D3DXPT_FLOAT);
                (transpose ? matrices[m].m[c][r] : matrices[m].m[r][c]) = v;
            }
        }
    }
    return D3D_OK;
}

HRESULT Effect::SetValue(D3DXHANDLE hParameter, LPCVOID pData, UINT Bytes) {
    const int index = FindParameter(hParameter);
    if (index < 0 || !pData)
        return D3DERR_INVALIDCALL;
    ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (IsTextureType(slot.desc.type) && Bytes >= sizeof(void*)) {
        IDirect3DBaseTexture9* texture = nullptr;
        std::memcpy(&texture, pData, sizeof(texture));
        return SetTexture(hParameter, texture);
    }
    if (slot.desc.cls == D3DXPC_OBJECT)
        return D3DERR_INVALIDCALL;
    std::memcpy(words.data, pData, std::min<std::size_t>(Bytes, words.size * 4));
    ++slot.value->version;
    return D3D_OK;
}

HRESULT Effect::GetValue(D3DXHANDLE hParameter, LPVOID pData, UINT Bytes) {
    const int index = FindParameter(hParameter);
    if (index < 0 || !pData)
        return D3DERR_INVALIDCALL;
    const ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT)
        return D3DERR_INVALIDCALL;
    std::memcpy(pData, words.data, std::min<std::size_t>(Bytes, words.size * 4));
    return D3D_OK;
}

HRESULT Effect::SetBool(D3DXHANDLE h, BOOL b) {
    const INT v = b ? 1 : 0;
    return WriteInts(h, &v, 1);
}
HRESULT Effect::GetBool(D3DXHANDLE h, BOOL* pb) {
    INT v = 0;
    const HRESULT r = ReadInts(h, &v, 1);
    if (SUCCEEDED(r) && pb)
        *pb = v != 0;
    return pb ? r : D3DERR_INVALIDCALL;
}
HRESULT Effect::SetBoolArray(D3DXHANDLE h, CONST BOOL* pb, UINT count) {
    return WriteInts(h, pb, count);
}
HRESULT Effect::GetBoolArray(D3DXHANDLE h, BOOL* pb, UINT count) {
    return ReadInts(h, pb, count);
}
HRESULT Effect::SetInt(D3DXHANDLE h, INT n) {
    return WriteInts(h, &n, 1);
}
HRESULT Effect::GetInt(D3DXHANDLE h, INT* pn) {
    return ReadInts(h, pn, 1);
}
HRESULT Effect::SetIntArray(D3DXHANDLE h, CONST INT* pn, UINT count) {
    return WriteInts(h, pn, count);
}
HRESULT Effect::GetIntArray(D3DXHANDLE h, INT* pn, UINT count) {
    return ReadInts(h, pn, count);
}
HRESULT Effect::SetFloat(D3DXHANDLE h, FLOAT f) {
    return WriteFloats(h, &f, 1);
}
HRESULT Effect::GetFloat(D3DXHANDLE h, FLOAT* pf) {
    return ReadFloats(h, pf, 1);
}
HRESULT Effect::SetFloatArray(D3DXHANDLE h, CONST FLOAT* pf, UINT count) {
    return WriteFloats(h, pf, count);
}
HRESULT Effect::GetFloatArray(D3DXHANDLE h, FLOAT* pf, UINT count) {
    return ReadFloats(h, pf, count);
}

// A vector fills the parameter's columns (a scalar takes x); arrays take one vector per element.
HRESULT Effect::SetVectorArray(D3DXHANDLE h, CONST D3DXVECTOR4* pVector, UINT count) {
    const int index = FindParameter(h);
    if (index < 0 || !pVector)
        return D3DERR_INVALIDCALL;
    ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT)
        return D3DERR_INVALIDCALL;
    const UINT columns = std::min<UINT>(slot.desc.columns, 4);
    const std::size_t perElement = std::size_t{slot.desc.rows} * slot.desc.columns;
    UINT e = 0;
    for (; e < count && (e + 1) * perElement <= words.size; ++e) {
        for (UINT k = 0; k < columns; ++k)
            words.data[e * perElement + k] = FloatWord((&pVector[e].x)[k], slot.desc.type);
    }
    // One version for the whole array, not one per element.
    if (e > 0) {
        ++slot.value->version;
    }
    return D3D_OK;
}
HRESULT Effect::SetVector(D3DXHANDLE h, CONST D3DXVECTOR4* pVector) {
    return SetVectorArray(h, pVector, 1);
}
HRESULT Effect::GetVectorArray(D3DXHANDLE h, D3DXVECTOR4* pVector, UINT count) {
    const int index = FindParameter(h);
    if (index < 0 || !pVector)
        return D3DERR_INVALIDCALL;
    const ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    if (slot.desc.cls == D3DXPC_OBJECT)
        return D3DERR_INVALIDCALL;
    const std::size_t columns = slot.desc.columns;
    const std::size_t perElement = slot.desc.rows * columns;
    for (UINT e = 0; e < count; ++e) {
        float* out = &pVector[e].x;
        for (std::size_t k = 0; k < 4; ++k) {
            const std::size_t from = e * perElement + k;
            out[k] = (k < columns && from < words.size) ? WordFloat(words.data[from], slot.desc.type) : 0.0f;
        }
    }
    return D3D_OK;
}
HRESULT Effect::GetVector(D3DXHANDLE h, D3DXVECTOR4* pVector) {
    return GetVectorArray(h, pVector, 1);
}

HRESULT Effect::SetMatrix(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix) {
    return WriteMatrices(h, &pMatrix, 1, false);
}
HRESULT Effect::GetMatrix(D3DXHANDLE h, D3DXMATRIX* pMatrix) {
    return ReadMatrices(h, pMatrix, 1, false);
}
HRESULT Effect::SetMatrixTranspose(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix) {
    return WriteMatrices(h, &pMatrix, 1, true);
}
HRESULT Effect::GetMatrixTranspose(D3DXHANDLE h, D3DXMATRIX* pMatrix) {
    return ReadMatrices(h, pMatrix, 1, true);
}

// The array forms take at most this many matrices at once, so they need no allocation.
constexpr UINT kMatrixBatch = 64;

HRESULT Effect::WriteMatrixArray(D3DXHANDLE h, const D3DXMATRIX* pMatrix, UINT count, bool transpose) {
    if (!pMatrix || count > kMatrixBatch)
        return D3DERR_INVALIDCALL;
    const D3DXMATRIX* pointers[kMatrixBatch];
    for (UINT i = 0; i < count; ++i)
        pointers[i] = &pMatrix[i];
    return WriteMatrices(h, pointers, count, transpose);
}
HRESULT Effect::ReadMatrixPointers(D3DXHANDLE h, D3DXMATRIX** ppMatrix, UINT count, bool transpose) const {
    if (!ppMatrix)
        return D3DERR_INVALIDCALL;
    for (UINT i = 0; i < count; ++i) {
        const HRESULT r = ReadMatrices(h, ppMatrix[i], 1, transpose);
        if (FAILED(r))
            return r;
    }
    return D3D_OK;
}

HRESULT Effect::SetMatrixArray(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix, UINT count) {
    return WriteMatrixArray(h, pMatrix, count, false);
}
HRESULT Effect::GetMatrixArray(D3DXHANDLE h, D3DXMATRIX* pMatrix, UINT count) {
    return ReadMatrices(h, pMatrix, count, false);
}
HRESULT Effect::SetMatrixPointerArray(D3DXHANDLE h, CONST D3DXMATRIX** ppMatrix, UINT count) {
    return WriteMatrices(h, ppMatrix, count, false);
}
HRESULT Effect::GetMatrixPointerArray(D3DXHANDLE h, D3DXMATRIX** ppMatrix, UINT count) {
    return ReadMatrixPointers(h, ppMatrix, count, false);
}
HRESULT Effect::SetMatrixTransposeArray(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix, UINT count) {
    return WriteMatrixArray(h, pMatrix, count, true);
}
HRESULT Effect::GetMatrixTransposeArray(D3DXHANDLE h, D3DXMATRIX* pMatrix, UINT count) {
    return ReadMatrices(h, pMatrix, count, true);
}
HRESULT Effect::SetMatrixTransposePointerArray(D3DXHANDLE h, CONST D3DXMATRIX** ppMatrix, UINT count) {
    return WriteMatrices(h, ppMatrix, count, true);
}
HRESULT Effect::GetMatrixTransposePointerArray(D3DXHANDLE h, D3DXMATRIX** ppMatrix, UINT count) {
    return ReadMatrixPointers(h, ppMatrix, count, true);
}

HRESULT Effect::SetString(D3DXHANDLE h, LPCSTR pString) {
    const int index = FindParameter(h);
    if (index < 0 || !pString || parameters_[static_cast<std::size_t>(index)].desc.type != D3DXPT_STRING)
        return D3DERR_INVALIDCALL;
    parameters_[static_cast<std::size_t>(index)].value->text = pString;
    return D3D_OK;
}

HRESULT Effect::GetString(D3DXHANDLE h, LPCSTR* ppString) {
    if (!ppString)
        return D3DERR_INVALIDCALL;
    *ppString = nullptr;
    const int index = FindParameter(h);
    if (index < 0 || parameters_[static_cast<std::size_t>(index)].desc.type != D3DXPT_STRING)
        return D3DERR_INVALIDCALL;
    *ppString = parameters_[static_cast<std::size_t>(index)].value->text.c_str();
    return D3D_OK;
}

// The effect holds a reference on a texture while it is set, and gives it back when another
// texture replaces it or the effect goes.
HRESULT Effect::SetTexture(D3DXHANDLE h, LPDIRECT3DBASETEXTURE9 pTexture) {
    const int index = FindParameter(h);
    if (index < 0 || !IsTextureType(parameters_[static_cast<std::size_t>(index)].desc.type))
        return D3DERR_INVALIDCALL;
    ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    if (slot.value->texture.Get() != pTexture) {
        slot.value->texture = com::Ref<IDirect3DBaseTexture9>(pTexture);
        ++slot.value->version;
    }
    return D3D_OK;
}

HRESULT Effect::GetTexture(D3DXHANDLE h, LPDIRECT3DBASETEXTURE9* ppTexture) {
    if (!ppTexture)
        return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    const int index = FindParameter(h);
    if (index < 0 || !IsTextureType(parameters_[static_cast<std::size_t>(index)].desc.type))
        return D3DERR_INVALIDCALL;
    IDirect3DBaseTexture9* texture = parameters_[static_cast<std::size_t>(index)].value->texture.Get();
    if (texture)
        texture->AddRef();
    *ppTexture = texture;
    return D3D_OK;
}

HRESULT Effect::SetRawValue(D3DXHANDLE h, LPCVOID pData, UINT ByteOffset, UINT Bytes) {
    const int index = FindParameter(h);
    if (index < 0 || !pData)
        return D3DERR_INVALIDCALL;
    ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    const WordSpan words = Words(index);
    const std::size_t size = words.size * 4;
    if (slot.desc.cls == D3DXPC_OBJECT || ByteOffset > size)
        return D3DERR_INVALIDCALL;
    std::memcpy(reinterpret_cast<char*>(words.data) + ByteOffset, pData,
                std::min<std::size_t>(Bytes, size - ByteOffset));
    ++slot.value->version;
    return D3D_OK;
}

} // namespace platform::fx
