// A ForwardingDevice that writes the calls made on it into a call list, with their arguments, and
// fails a chosen method with a chosen result. It logs the texture creations unless told which
// methods to log (Log), as "Method(argument, ...)": device objects by the names the test gives them
// ("object" if none, "null"), floats with 9 digits so that a list pins their bits, matrices as
// "[16 floats]", pools and usages by name.
//
//   RecordingDevice* device = new RecordingDevice(real);
//   device->Fail("CreateCubeTexture", D3DERR_OUTOFVIDEOMEMORY);
//   ... device->calls() == {"CreateTexture(256, 128, 1, RENDERTARGET, 21, DEFAULT)", ...}
#ifndef VTR3_TESTS_SUPPORT_RECORDING_DEVICE_H
#define VTR3_TESTS_SUPPORT_RECORDING_DEVICE_H

#include "forwarding_device.h"

#include <stdio.h>

#include <map>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class RecordingDevice : public ForwardingDevice {
  public:
    using ForwardingDevice::ForwardingDevice;

    std::vector<std::string>& calls() { return calls_; }
    std::vector<std::string> TakeCalls() { return std::exchange(calls_, {}); }
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

    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                            HANDLE* shared) override {
        Record("CreateTexture", width, height, levels, Usage{usage}, format, pool);
        const HRESULT failure = FailureOf("CreateTexture");
        return failure ? failure
                       : ForwardingDevice::CreateTexture(width, height, levels, usage, format, pool, texture,
                                                         shared);
    }

    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DCubeTexture9** texture,
                                                HANDLE* shared) override {
        Record("CreateCubeTexture", edge, levels, Usage{usage}, format, pool);
        const HRESULT failure = FailureOf("CreateCubeTexture");
        return failure
                   ? failure
                   : ForwardingDevice::CreateCubeTexture(edge, levels, usage, format, pool, texture, shared);
    }

    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                                 IDirect3DVertexBuffer9** buffer, HANDLE* shared) override {
        Record("CreateVertexBuffer", length, usage, fvf, pool);
        HRESULT result = FailureOf("CreateVertexBuffer");
        result =
            result ? result : ForwardingDevice::CreateVertexBuffer(length, usage, fvf, pool, buffer, shared);
        if (!result && !vertexBufferNames.empty()) {
            names[*buffer] = vertexBufferNames[vertexBuffers_++ % vertexBufferNames.size()];
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DIndexBuffer9** buffer, HANDLE* shared) override {
        Record("CreateIndexBuffer", length, usage, format, pool);
        const HRESULT failure = FailureOf("CreateIndexBuffer");
        return failure ? failure
                       : ForwardingDevice::CreateIndexBuffer(length, usage, format, pool, buffer, shared);
    }
    HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD index, IDirect3DSurface9** target) override {
        Record("GetRenderTarget", index);
        return ForwardingDevice::GetRenderTarget(index, target);
    }
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD index, IDirect3DSurface9* target) override {
        Record("SetRenderTarget", index, target);
        target0_ = index == 0 ? target : target0_;
        return ForwardingDevice::SetRenderTarget(index, target);
    }
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float* plane) override {
        Record("SetClipPlane", index, plane[0], plane[1], plane[2], plane[3]);
        return ForwardingDevice::SetClipPlane(index, plane);
    }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
        const auto found = states_.find(state);
        if (found != states_.end()) {
            Record("SetRenderState", found->second.c_str(), value);
        }
        return ForwardingDevice::SetRenderState(state, value);
    }
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        Record("SetTransform", state, matrix);
        return ForwardingDevice::SetTransform(state, matrix);
    }
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override {
        const HRESULT result = ForwardingDevice::GetTexture(stage, texture);
        Record("GetTexture", stage, *texture);
        return result;
    }
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override {
        Record("SetTexture", stage, texture);
        texture0_ = stage == 0 ? texture : texture0_;
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
        Record("SetStreamSource", stream, buffer, offset, stride);
        stream0_ = stream == 0 ? buffer : stream0_;
        return ForwardingDevice::SetStreamSource(stream, buffer, offset, stride);
    }
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* buffer) override {
        Record("SetIndices", buffer);
        return ForwardingDevice::SetIndices(buffer);
    }
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override {
        Record("SetFVF", fvf);
        return ForwardingDevice::SetFVF(fvf);
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minimum,
                                                   UINT vertices, UINT start, UINT primitives) override {
        Record("DrawIndexedPrimitive", type, base, minimum, vertices, start, primitives);
        if (logged_.count("Draw")) {
            calls_.push_back(Text(target0_) + " " + Text(stream0_) + " " + Text(texture0_) +
                             (linear0_ ? " fx" : " ff"));
        }
        return ForwardingDevice::DrawIndexedPrimitive(type, base, minimum, vertices, start, primitives);
    }

  private:
    struct Usage {
        DWORD value;
    };

    // "method(arguments)", built only when the method is logged: frames that must not allocate may
    // run through the device.
    template <typename... Args> void Record(const char* method, const Args&... arguments) {
        if (logged_.count(method)) {
            std::string text;
            ((text += (text.empty() ? "" : ", ") + Text(arguments)), ...);
            calls_.push_back(std::string(method) + "(" + text + ")");
        }
    }
    template <typename T> std::string Text(T value) const {
        if constexpr (std::is_pointer_v<T>) {
            const auto found = names.find(value);
            return !value ? "null" : found == names.end() ? "object" : found->second;
        } else {
            return std::to_string(value);
        }
    }
    std::string Text(const char* text) const { return text; }
    static std::string Text(float value) {
        char number[32];
        snprintf(number, sizeof(number), "%.9g", value); // tells every float apart
        return number;
    }
    // A matrix as its 16 floats.
    static std::string Text(const D3DMATRIX* matrix) {
        std::string text = "[";
        for (int i = 0; i < 16; ++i) {
            text += (i ? " " : "") + Text((&matrix->_11)[i]);
        }
        return text + "]";
    }
    static std::string Text(D3DPOOL pool) {
        return pool == D3DPOOL_DEFAULT   ? "DEFAULT"
               : pool == D3DPOOL_MANAGED ? "MANAGED"
                                         : std::to_string(pool);
    }
    static std::string Text(Usage usage) {
        return usage.value == D3DUSAGE_RENDERTARGET   ? "RENDERTARGET"
               : usage.value == D3DUSAGE_DEPTHSTENCIL ? "DEPTHSTENCIL"
                                                      : std::to_string(usage.value);
    }

    HRESULT FailureOf(const std::string& method) const {
        const auto found = failures_.find(method);
        return found == failures_.end() ? D3D_OK : found->second;
    }

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
