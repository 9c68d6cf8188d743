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

    // Creates effect_ (releasing the last one) from the text, or with `file` from the file at that path;
    // the compiler's messages go to errors_.
    HRESULT Make(const std::string& source, bool file = false) {
        if (effect_)
            effect_->Release();
        effect_ = nullptr;
        if (!file)
            return CreateEffect(device_, source, &effect_, &errors_);
        ID3DXBuffer* messages = nullptr;
        const HRESULT result = D3DXCreateEffectFromFileA(device_, source.c_str(), nullptr, nullptr, 0,
                                                         nullptr, &effect_, &messages);
        errors_ = BufferText(messages);
        if (messages)
            messages->Release();
        return result;
    }

    ID3DXEffect* effect_ = nullptr;
    std::string errors_;
};

#endif
