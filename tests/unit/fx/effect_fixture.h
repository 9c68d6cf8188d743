// A device (from the device tests' fixture) and effects made from text on it.
#ifndef VTR3_TESTS_UNIT_FX_EFFECT_FIXTURE_H
#define VTR3_TESTS_UNIT_FX_EFFECT_FIXTURE_H

#include "device_fixture.h"
#include "fx_test_support.h"

#include <d3dx9.h>

class EffectFixture : public DeviceFixture {
  protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        CreateDevice();
    }
    void TearDown() override {
        if (effect_) {
            EXPECT_EQ(effect_->Release(), 0u);
        }
        DeviceFixture::TearDown();
    }

    // Creates effect_ from the text; the compiler's messages go to errors_.
    HRESULT Make(const std::string& text, IDirect3DDevice9* device = nullptr) {
        return CreateEffect(device ? device : device_, text, &effect_, &errors_);
    }

    ID3DXEffect* effect_ = nullptr;
    std::string errors_;
};

#endif
