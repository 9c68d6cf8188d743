// A ForwardingDevice that writes the calls made on it into a call list, with their arguments, and
// fails a chosen method with a chosen result. It logs the texture creations unless told which
// methods to log (Log). Device objects show by the names the test gives them ("object" if none,
// "null"), floats with 9 digits, so a list pins exact bits. With fake resources switched on it
// answers creations with stand-in textures (fake_textures.h) instead of asking the real device.
//
//   RecordingDevice* device = new RecordingDevice(real);
//   device->Fail("CreateCubeTexture", D3DERR_OUTOFVIDEOMEMORY);
//   ... device->calls() == {"CreateTexture(256, 128, 1, RENDERTARGET, 21, DEFAULT)", ...}
#ifndef VTR3_TESTS_SUPPORT_RECORDING_DEVICE_H
#define VTR3_TESTS_SUPPORT_RECORDING_DEVICE_H

#include "fake_textures.h"
#include "forwarding_device.h"

#include <stdio.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class RecordingDevice : public ForwardingDevice {
  public:
    explicit RecordingDevice(IDirect3DDevice9* inner, bool fakeResources = false)
        : ForwardingDevice(inner), fake_(fakeResources) {}

    std::vector<std::string>& calls() { return calls_; }
    std::vector<std::string> TakeCalls() {
        std::vector<std::string> calls;
        calls.swap(calls_);
        return calls;
    }
    // The methods to log from now on, e.g. {"SetTexture", "DrawIndexedPrimitive"}; "Draw" logs each
    // indexed draw as "<render target 0> <stream 0> <stage-0 texture> <fx|ff>", fx when sampler 0
    // filters linearly (what an effect pass sets; the device's default is point sampling).
    void Log(std::set<std::string, std::less<>> methods) { logged_ = std::move(methods); }
    // The render states SetRenderState logs, by the name it shows them with.
    void LogStates(std::map<D3DRENDERSTATETYPE, std::string> states) { states_ = std::move(states); }
    std::map<const void*, std::string> names;
    // Names the vertex buffers created from now on take in turn, round and round.
    std::vector<std::string> vertexBufferNames;
    // Every later call of the method returns `result` (D3D_OK lets it through again).
    void Fail(const std::string& method, HRESULT result) { failures_[method] = result; }

    static std::string UsageName(DWORD usage) {
        switch (usage) {
        case D3DUSAGE_RENDERTARGET:
            return "RENDERTARGET";
        case D3DUSAGE_DEPTHSTENCIL:
            return "DEPTHSTENCIL";
        default:
            return std::to_string(usage);
        }
    }
    static std::string PoolName(D3DPOOL pool) {
        switch (pool) {
        case D3DPOOL_DEFAULT:
            return "DEFAULT";
        case D3DPOOL_MANAGED:
            return "MANAGED";
        default:
            return std::to_string(pool);
        }
    }

    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                            HANDLE* shared) override {
        Record("CreateTexture", [&] {
            return "CreateTexture(" + std::to_string(width) + ", " + std::to_string(height) + ", " +
                   std::to_string(levels) + ", " + UsageName(usage) + ", " + std::to_string(format) + ", " +
                   PoolName(pool) + ")";
        });
        if (HRESULT failure = FailureOf("CreateTexture")) {
            return failure;
        }
        if (fake_) {
            *texture = new fake::Texture(&calls_);
            return D3D_OK;
        }
        return ForwardingDevice::CreateTexture(width, height, levels, usage, format, pool, texture, shared);
    }

    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DCubeTexture9** texture,
                                                HANDLE* shared) override {
        Record("CreateCubeTexture", [&] {
            return "CreateCubeTexture(" + std::to_string(edge) + ", " + std::to_string(levels) + ", " +
                   UsageName(usage) + ", " + std::to_string(format) + ", " + PoolName(pool) + ")";
        });
        if (HRESULT failure = FailureOf("CreateCubeTexture")) {
            return failure;
        }
        if (fake_) {
            *texture = new fake::CubeTexture(&calls_);
            return D3D_OK;
        }
        return ForwardingDevice::CreateCubeTexture(edge, levels, usage, format, pool, texture, shared);
    }

    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                                 IDirect3DVertexBuffer9** buffer, HANDLE* shared) override {
        Record("CreateVertexBuffer", [&] {
            return "CreateVertexBuffer(" + Args({length, usage, fvf}) + ", " + PoolName(pool) + ")";
        });
        HRESULT result = FailureOf("CreateVertexBuffer");
        if (!result) {
            result = ForwardingDevice::CreateVertexBuffer(length, usage, fvf, pool, buffer, shared);
        }
        if (!result && !vertexBufferNames.empty()) {
            names[*buffer] = vertexBufferNames[vertexBuffers_++ % vertexBufferNames.size()];
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DIndexBuffer9** buffer, HANDLE* shared) override {
        Record("CreateIndexBuffer", [&] {
            return "CreateIndexBuffer(" + Args({length, usage, static_cast<unsigned>(format)}) + ", " +
                   PoolName(pool) + ")";
        });
        const HRESULT failure = FailureOf("CreateIndexBuffer");
        return failure ? failure
                       : ForwardingDevice::CreateIndexBuffer(length, usage, format, pool, buffer, shared);
    }
    HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD index, IDirect3DSurface9** target) override {
        Record("GetRenderTarget", [&] { return "GetRenderTarget(" + Args({index}) + ")"; });
        return ForwardingDevice::GetRenderTarget(index, target);
    }
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD index, IDirect3DSurface9* target) override {
        Record("SetRenderTarget",
               [&] { return "SetRenderTarget(" + Args({index}) + ", " + Name(target) + ")"; });
        if (index == 0) {
            target0_ = target;
        }
        return ForwardingDevice::SetRenderTarget(index, target);
    }
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float* plane) override {
        Record("SetClipPlane",
               [&] { return "SetClipPlane(" + Args({index}) + ", " + Floats(plane, 4, ", ") + ")"; });
        return ForwardingDevice::SetClipPlane(index, plane);
    }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
        const auto found = states_.find(state);
        if (found != states_.end()) {
            Record("SetRenderState",
                   [&] { return "SetRenderState(" + found->second + ", " + Args({value}) + ")"; });
        }
        return ForwardingDevice::SetRenderState(state, value);
    }
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        Record("SetTransform", [&] {
            return "SetTransform(" + Args({static_cast<unsigned>(state)}) + ", " + Matrix(&matrix->_11) + ")";
        });
        return ForwardingDevice::SetTransform(state, matrix);
    }
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override {
        const HRESULT result = ForwardingDevice::GetTexture(stage, texture);
        Record("GetTexture", [&] { return "GetTexture(" + Args({stage}) + ") " + Name(*texture); });
        return result;
    }
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override {
        Record("SetTexture", [&] { return "SetTexture(" + Args({stage}) + ", " + Name(texture) + ")"; });
        if (stage == 0) {
            texture0_ = texture;
        }
        return ForwardingDevice::SetTexture(stage, texture);
    }
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override {
        if (sampler == 0 && type == D3DSAMP_MINFILTER) {
            linear0_ = value == D3DTEXF_LINEAR;
        }
        return ForwardingDevice::SetSamplerState(sampler, type, value);
    }
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                              UINT stride) override {
        Record("SetStreamSource", [&] {
            return "SetStreamSource(" + Args({stream}) + ", " + Name(buffer) + ", " + Args({offset, stride}) +
                   ")";
        });
        if (stream == 0) {
            stream0_ = buffer;
        }
        return ForwardingDevice::SetStreamSource(stream, buffer, offset, stride);
    }
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* buffer) override {
        Record("SetIndices", [&] { return "SetIndices(" + Name(buffer) + ")"; });
        return ForwardingDevice::SetIndices(buffer);
    }
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override {
        Record("SetFVF", [&] { return "SetFVF(" + Args({fvf}) + ")"; });
        return ForwardingDevice::SetFVF(fvf);
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minimum,
                                                   UINT vertices, UINT start, UINT primitives) override {
        Record("DrawIndexedPrimitive", [&] {
            return "DrawIndexedPrimitive(" +
                   Args({static_cast<unsigned>(type), static_cast<unsigned>(base), minimum, vertices, start,
                         primitives}) +
                   ")";
        });
        Record("Draw", [&] {
            return Name(target0_) + " " + Name(stream0_) + " " + Name(texture0_) + (linear0_ ? " fx" : " ff");
        });
        return ForwardingDevice::DrawIndexedPrimitive(type, base, minimum, vertices, start, primitives);
    }

    // Floats as "%.9g", which tells every float apart: `count` of them, `separator` between.
    static std::string Floats(const float* values, int count, const char* separator) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            char number[32];
            snprintf(number, sizeof(number), "%s%.9g", i ? separator : "", values[i]);
            text += number;
        }
        return text;
    }
    static std::string Matrix(const float* m) { return "[" + Floats(m, 16, " ") + "]"; }

  private:
    // Builds the entry only when logged: frames that allocate nothing may run through the device.
    template <typename Text> void Record(const char* method, Text text) {
        if (logged_.find(method) != logged_.end()) {
            calls_.push_back(text());
        }
    }
    std::string Name(const void* object) const {
        const auto found = names.find(object);
        return !object ? "null" : found == names.end() ? "object" : found->second;
    }
    static std::string Args(std::initializer_list<unsigned> values) {
        std::string text;
        for (unsigned value : values) {
            text += (text.empty() ? "" : ", ") + std::to_string(value);
        }
        return text;
    }
    HRESULT FailureOf(const std::string& method) const {
        const auto found = failures_.find(method);
        return found == failures_.end() ? D3D_OK : found->second;
    }

    bool fake_;
    std::vector<std::string> calls_;
    std::map<std::string, HRESULT> failures_;
    std::set<std::string, std::less<>> logged_ = {"CreateTexture", "CreateCubeTexture"};
    std::map<D3DRENDERSTATETYPE, std::string> states_;
    const void* target0_ = nullptr;
    const void* stream0_ = nullptr;
    const void* texture0_ = nullptr;
    bool linear0_ = false;
    size_t vertexBuffers_ = 0;
};

#endif
