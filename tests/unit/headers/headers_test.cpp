// What the comparison with the SDK's constants cannot see: layouts that alias, type identities and the
// COM interface shapes.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dxerr9.h>

#include <gmock/gmock.h>
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
    for (int i = 0; i < 16; ++i)
        matrix.m[i / 4][i % 4] = static_cast<float>(i);
    const float named[] = {matrix._11, matrix._12, matrix._23, matrix._34, matrix._41, matrix._44};
    EXPECT_THAT(named, testing::ElementsAre(0, 1, 6, 11, 12, 15)); // _11 .. _44 in row order
}

} // namespace
