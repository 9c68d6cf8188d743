// The device fixture with helpers for resources: reference counts and the bytes of a surface as the
// device holds them.
#ifndef VTR3_TESTS_UNIT_RESOURCES_RESOURCE_FIXTURE_H
#define VTR3_TESTS_UNIT_RESOURCES_RESOURCE_FIXTURE_H

#include "../device/device_fixture.h"
#include "reference_count.h"

#include <cstring>

class ResourceFixture : public DeviceFixture {
  protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        CreateDevice();
    }

    // Every row of a locked rectangle, rowBytes each, as one vector.
    static std::vector<std::uint8_t> Rows(const D3DLOCKED_RECT& locked, UINT rows, UINT rowBytes) {
        std::vector<std::uint8_t> bytes(std::size_t{rows} * rowBytes);
        for (UINT row = 0; row < rows; ++row)
            std::memcpy(&bytes[std::size_t{row} * rowBytes],
                        static_cast<const std::uint8_t*>(locked.pBits) + row * locked.Pitch, rowBytes);
        return bytes;
    }

    // A render target's bytes through GetRenderTargetData into a system-memory surface.
    std::vector<std::uint8_t> TargetBytes(IDirect3DSurface9* target, UINT rowBytes) {
        D3DSURFACE_DESC desc{};
        target->GetDesc(&desc);
        IDirect3DSurface9* copy = nullptr;
        EXPECT_EQ(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                       D3DPOOL_SYSTEMMEM, &copy, nullptr),
                  D3D_OK);
        if (!copy)
            return {};
        EXPECT_EQ(device_->GetRenderTargetData(target, copy), D3D_OK);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        std::vector<std::uint8_t> bytes = Rows(locked, desc.Height, rowBytes);
        copy->UnlockRect();
        copy->Release();
        return bytes;
    }
};

#endif
