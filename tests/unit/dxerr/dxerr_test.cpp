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

TEST(DxErrorTexts, NamesAndDescriptionsOfKnownAndUnknownResults) {
    const struct {
        HRESULT result;
        const char *name, *description;
    } cases[] = {
        {static_cast<HRESULT>(0x8876086Cu), "D3DERR_INVALIDCALL", "Invalid call"},
        {D3DERR_DEVICELOST, "D3DERR_DEVICELOST", "Device lost"},
        {static_cast<HRESULT>(0x88760B59u), "D3DXERR_INVALIDDATA", "Invalid data"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY", "Ran out of memory"},
        {D3D_OK, "S_OK", "No error occurred"},                 // D3D_OK and S_OK are one value
        {static_cast<HRESULT>(0x88760001u), "Unknown", "n/a"}, // Direct3D's facility, an unused code
        {MAKE_D3DSTATUS(2156), "Unknown", "n/a"}, // D3DERR_INVALIDCALL's code without the failure bit
        {-1, "Unknown", "n/a"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(DXGetErrorString9A(c.result), c.name) << std::hex << c.result;
        EXPECT_STREQ(DXGetErrorDescription9A(c.result), c.description) << c.name;
    }
    EXPECT_STREQ(DXGetErrorString9(D3DERR_INVALIDCALL), "D3DERR_INVALIDCALL");
    EXPECT_STREQ(DXGetErrorDescription9(D3DERR_INVALIDCALL), "Invalid call");
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
    const auto isErrorCode = [](const std::string& name) {
        return name.rfind("D3DERR_", 0) == 0 || name.rfind("D3DXERR_", 0) == 0;
    };
#define VTR3_CONSTANT(name)                                                                                  \
    EXPECT_STREQ(isErrorCode(#name) ? DXGetErrorString9A(static_cast<HRESULT>(name)) : #name, #name);
#include "constant_names.inc"
#undef VTR3_CONSTANT
}

} // namespace
