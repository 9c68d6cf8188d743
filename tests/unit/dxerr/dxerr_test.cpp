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

TEST(DxErrorTexts, TableRowsAreDistinctAndComplete) {
    std::set<HRESULT> values;
    std::set<std::string> names;
    for (std::size_t i = 0; i < kErrorTextCount; ++i) {
        EXPECT_TRUE(values.insert(kErrorTexts[i].result).second) << kErrorTexts[i].name;
        EXPECT_TRUE(names.insert(kErrorTexts[i].name).second) << kErrorTexts[i].name;
        EXPECT_STRNE(kErrorTexts[i].description, "");
    }
    // Every D3DERR_ and D3DXERR_ code of the headers has its row.
    const HRESULT codes[] = {
        D3DERR_WRONGTEXTUREFORMAT,
        D3DERR_UNSUPPORTEDCOLOROPERATION,
        D3DERR_UNSUPPORTEDCOLORARG,
        D3DERR_UNSUPPORTEDALPHAOPERATION,
        D3DERR_UNSUPPORTEDALPHAARG,
        D3DERR_TOOMANYOPERATIONS,
        D3DERR_CONFLICTINGTEXTUREFILTER,
        D3DERR_UNSUPPORTEDFACTORVALUE,
        D3DERR_CONFLICTINGRENDERSTATE,
        D3DERR_UNSUPPORTEDTEXTUREFILTER,
        D3DERR_CONFLICTINGTEXTUREPALETTE,
        D3DERR_DRIVERINTERNALERROR,
        D3DERR_NOTFOUND,
        D3DERR_MOREDATA,
        D3DERR_DEVICELOST,
        D3DERR_DEVICENOTRESET,
        D3DERR_NOTAVAILABLE,
        D3DERR_OUTOFVIDEOMEMORY,
        D3DERR_INVALIDDEVICE,
        D3DERR_INVALIDCALL,
        D3DERR_DRIVERINVALIDCALL,
        D3DERR_WASSTILLDRAWING,
        D3DERR_DEVICEREMOVED,
        D3DERR_DEVICEHUNG,
        D3DERR_UNSUPPORTEDOVERLAY,
        D3DERR_UNSUPPORTEDOVERLAYFORMAT,
        D3DERR_CANNOTPROTECTCONTENT,
        D3DERR_UNSUPPORTEDCRYPTO,
        D3DERR_PRESENT_STATISTICS_DISJOINT,
        D3DXERR_CANNOTMODIFYINDEXBUFFER,
        D3DXERR_INVALIDMESH,
        D3DXERR_CANNOTATTRSORT,
        D3DXERR_SKINNINGNOTSUPPORTED,
        D3DXERR_TOOMANYINFLUENCES,
        D3DXERR_INVALIDDATA,
        D3DXERR_LOADEDMESHASNODATA,
        D3DXERR_DUPLICATENAMEDFRAGMENT,
        D3DXERR_CANNOTREMOVELASTITEM,
    };
    for (HRESULT hr : codes)
        EXPECT_EQ(values.count(hr), 1u) << std::hex << hr;
}

} // namespace
