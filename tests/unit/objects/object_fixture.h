// Runs a scene-object test with the plug-in's log open, the stand-in engine's interface block bound,
// the effect and texture managers initialised and an object manager of its own, all drawing through
// a RecordingDevice that logs the objects' calls. Every test ends with as many live platform objects as it
// began with.
#ifndef VTR3_TESTS_UNIT_OBJECTS_OBJECT_FIXTURE_H
#define VTR3_TESTS_UNIT_OBJECTS_OBJECT_FIXTURE_H

#include "engine.h"
#include "manager_fixture.h"
#include "objects/vtr3_objects.h"
#include "platform_control.h"
#include "recording_device.h"
#include "resources/vtr3_effects.h"
#include "resources/vtr3_textures.h"

#include <string.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <initializer_list>
#include <type_traits>

using Rows = std::vector<std::string>;
using Calls = std::vector<std::string>;

class ObjectTest : public ManagerLogTest {
  protected:
    ObjectTest() {
        engine_.CreateGraphics(64, 64, "objects");
        baseline_ = platform::LiveObjectCount();
        device_ = new RecordingDevice(engine_.device());
        device_->Log({"CreateVertexBuffer", "CreateIndexBuffer", "CreateTexture", "SetStreamSource",
                      "SetIndices", "SetFVF", "DrawIndexedPrimitive", "SetTransform", "SetRenderState",
                      "GetTexture", "SetTexture"});
        device_->LogStates({{D3DRS_LIGHTING, "LIGHTING"}});
        g_device = device_;
        g_engine = engine_.block();
        g_textureManager.Initialize();
        g_effectManager.Initialize();
        objects_.Initialize();
        TakeRows();
    }
    ~ObjectTest() override {
        if (objects_.IsInitialized()) {
            objects_.DeInitialize();
        }
        g_effectManager.DeInitialize();
        // The effects' passes leave the texture manager's textures bound, as Direct3D does.
        for (DWORD stage = 0; stage < 16; ++stage) {
            device_->SetTexture(stage, nullptr);
        }
        g_textureManager.DeInitialize();
        EXPECT_EQ(platform::LiveObjectCount(), baseline_);
        g_device = nullptr;
        g_engine = nullptr;
        device_->Release();
    }

    // Creates an object of a manager type with its skills set, initialised unless told otherwise.
    c_VTR3Object3D* Make(int id, unsigned int type, std::initializer_list<float> skills,
                         bool initialize = true) {
        objects_.CreateObject(id, type);
        int index = 0;
        for (float skill : skills) {
            objects_.SetSkill(id, index++, skill);
        }
        if (initialize) {
            objects_.InitializeObject(id);
        }
        return objects_.FindObject(id);
    }

    // An effect compiled from this text under this identifier.
    void MakeEffect(int id, const std::string& text) {
        const std::string path = "effect" + std::to_string(id) + ".fx";
        std::ofstream(path) << text;
        paths_.push_back(path);
        g_effectManager.EffectCreate(id);
        g_effectManager.SetPath(id, paths_.back().c_str());
        g_effectManager.EffectInitialize(id);
    }

    // A render-target texture of the texture manager.
    void MakeTexture(int id) {
        g_textureManager.TextureCreate(id, 0);
        g_textureManager.SetUsage(id, 0);
        g_textureManager.SetSize(id, 4, 4);
        g_textureManager.SetFormat(id, D3DFMT_A8R8G8B8);
        g_textureManager.TextureInitialize(id);
    }

    static bool IsDraw(const std::string& call) { return call.rfind("DrawIndexedPrimitive", 0) == 0; }
    // The draws since the calls were last taken.
    long TakeDraws() {
        const Calls calls = device_->TakeCalls();
        return std::count_if(calls.begin(), calls.end(), IsDraw);
    }

    // The bytes of the buffers bound by the last drawing.
    std::string StreamBytes() {
        IDirect3DVertexBuffer9* buffer = nullptr;
        UINT offset = 0, stride = 0;
        device_->GetStreamSource(0, &buffer, &offset, &stride);
        return Bytes(buffer);
    }
    std::string IndexBytes() {
        IDirect3DIndexBuffer9* buffer = nullptr;
        device_->GetIndices(&buffer);
        return Bytes(buffer);
    }
    template <typename Buffer> static std::string Bytes(Buffer* buffer) {
        if (!buffer) {
            return "no buffer";
        }
        typename std::conditional<std::is_same<Buffer, IDirect3DVertexBuffer9>::value, D3DVERTEXBUFFER_DESC,
                                  D3DINDEXBUFFER_DESC>::type desc;
        buffer->GetDesc(&desc);
        void* data = nullptr;
        buffer->Lock(0, 0, &data, D3DLOCK_READONLY);
        std::string bytes(static_cast<const char*>(data), desc.Size);
        buffer->Unlock();
        buffer->Release();
        return bytes;
    }
    template <typename T> static std::string BytesOf(std::initializer_list<T> values) {
        return std::string(reinterpret_cast<const char*>(values.begin()), values.size() * sizeof(T));
    }
    static uint32_t Bits(float value) {
        uint32_t bits;
        memcpy(&bits, &value, 4);
        return bits;
    }

    host::Engine engine_;
    RecordingDevice* device_;
    c_VTR3ObjectManager objects_;
    size_t baseline_ = 0;
    std::deque<std::string> paths_;
};

#endif
