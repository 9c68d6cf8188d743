// What the comparison with the SDK's constants cannot see: layouts that alias, type identities and the
// COM interface shapes.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dxerr9.h>

#include <gtest/gtest.h>

#include <type_traits>

namespace {

// Handles are distinct types, as with the SDK's STRICT handles.
static_assert(!std::is_same_v<HWND, HDC> && !std::is_same_v<HWND, HMONITOR> &&
              !std::is_same_v<HDC, HINSTANCE>);
static_assert(std::is_same_v<HMODULE, HINSTANCE>);
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(HRESULT) == 4 && std::is_signed_v<HRESULT>);
static_assert(std::is_same_v<REFIID, const GUID&>);

// COM objects die through Release only.
static_assert(std::is_abstract_v<IUnknown> && !std::has_virtual_destructor_v<IUnknown>);
static_assert(std::is_base_of_v<IDirect3DResource9, IDirect3DSurface9> &&
              std::is_base_of_v<IDirect3DBaseTexture9, IDirect3DCubeTexture9> &&
              std::is_base_of_v<IDirect3DResource9, IDirect3DIndexBuffer9> &&
              !std::is_base_of_v<IDirect3DResource9, IDirect3DVolume9>);
static_assert(std::is_base_of_v<ID3DXBaseEffect, ID3DXEffect> &&
              std::is_base_of_v<ID3DXBaseMesh, ID3DXMesh> && std::is_base_of_v<IUnknown, ID3DXBuffer> &&
              !std::is_base_of_v<IUnknown, ID3DXInclude>);

TEST(PlatformHeaders, MatrixElementsAliasTheArrayRowByRow) {
    D3DMATRIX matrix{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            matrix.m[row][column] = static_cast<float>(10 * (row + 1) + column + 1);
    EXPECT_EQ(matrix._11, 11.0f);
    EXPECT_EQ(matrix._14, 14.0f);
    EXPECT_EQ(matrix._23, 23.0f);
    EXPECT_EQ(matrix._41, 41.0f);
    EXPECT_EQ(matrix._44, 44.0f);
}

} // namespace
