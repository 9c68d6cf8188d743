#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dxerr9.h>

#include "dxerr/error_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using platform::dxerr::kErrorTextCount;
using platform::dxerr::kErrorTexts;

bool IsErrorCode(const std::string& name) {
    return name.rfind("D3DERR_", 0) == 0 || name.rfind("D3DXERR_", 0) == 0;
}

TEST(DxErrorTexts, NamesAndDescriptionsOfKnownResults) {
    EXPECT_STREQ(DXGetErrorString9(D3DERR_INVALIDCALL), "D3DERR_INVALIDCALL");
    EXPECT_STREQ(DXGetErrorDescription9(D3DERR_INVALIDCALL), "Invalid call");

    EXPECT_STREQ(DXGetErrorString9A(D3DERR_DEVICELOST), "D3DERR_DEVICELOST");
    EXPECT_STREQ(DXGetErrorDescription9A(D3DERR_DEVICELOST), "Device lost");
    EXPECT_STREQ(DXGetErrorString9A(D3DERR_OUTOFVIDEOMEMORY), "D3DERR_OUTOFVIDEOMEMORY");
    EXPECT_STREQ(DXGetErrorDescription9A(D3DERR_OUTOFVIDEOMEMORY), "Out of video memory");
    EXPECT_STREQ(DXGetErrorString9A(D3DXERR_INVALIDDATA), "D3DXERR_INVALIDDATA");
    EXPECT_STREQ(DXGetErrorDescription9A(D3DXERR_INVALIDDATA), "Invalid data");
    EXPECT_STREQ(DXGetErrorString9A(D3DOK_NOAUTOGEN), "D3DOK_NOAUTOGEN");
    EXPECT_STREQ(DXGetErrorString9A(E_OUTOFMEMORY), "E_OUTOFMEMORY");
    EXPECT_STREQ(DXGetErrorDescription9A(E_OUTOFMEMORY), "Ran out of memory");
    EXPECT_STREQ(DXGetErrorString9A(E_FAIL), "E_FAIL");
    EXPECT_STREQ(DXGetErrorDescription9A(E_FAIL), "Unspecified error");

    // D3D_OK and S_OK are one value.
    EXPECT_STREQ(DXGetErrorString9A(D3D_OK), "S_OK");
    EXPECT_STREQ(DXGetErrorString9A(S_FALSE), "S_FALSE");

    // The exact values behind the names: D3DERR_INVALIDCALL is 0x8876086C.
    EXPECT_STREQ(DXGetErrorString9A(static_cast<HRESULT>(0x8876086Cu)), "D3DERR_INVALIDCALL");
    EXPECT_STREQ(DXGetErrorString9A(static_cast<HRESULT>(0x88760B59u)), "D3DXERR_INVALIDDATA");
}

TEST(DxErrorTexts, UnknownResults) {
    const HRESULT unknown[] = {
        static_cast<HRESULT>(0x88760001u), // Direct3D's facility, an unused code
        MAKE_D3DSTATUS(2156),              // D3DERR_INVALIDCALL's code without the failure bit
        2,
        -1,
        static_cast<HRESULT>(0x80000000u),
    };
    for (HRESULT hr : unknown) {
        EXPECT_STREQ(DXGetErrorString9A(hr), "Unknown") << std::hex << hr;
        EXPECT_STREQ(DXGetErrorDescription9A(hr), "n/a") << std::hex << hr;
    }
}

TEST(DxErrorTexts, TableRowsAreDistinctAndNameEveryErrorCode) {
    std::set<HRESULT> values;
    std::set<std::string> names;
    for (std::size_t i = 0; i < kErrorTextCount; ++i) {
        EXPECT_TRUE(values.insert(kErrorTexts[i].result).second) << kErrorTexts[i].name;
        EXPECT_TRUE(names.insert(kErrorTexts[i].name).second) << kErrorTexts[i].name;
        EXPECT_STRNE(kErrorTexts[i].description, "");
    }
    // Every D3DERR_ and D3DXERR_ code of the headers (all their constants are listed by the headers
    // test's build) reads back its own name.
#define VTR3_CONSTANT(name)                                                                                  \
    EXPECT_STREQ(IsErrorCode(#name) ? DXGetErrorString9A(static_cast<HRESULT>(name)) : #name, #name);
#include "constant_names.inc"
#undef VTR3_CONSTANT
}

} // namespace
