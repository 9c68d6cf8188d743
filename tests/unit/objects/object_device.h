// A ForwardingDevice that writes the calls a scene object makes into a call list, with their
// arguments (matrices as their 16 floats), and fails a chosen creation with a chosen result.
#ifndef VTR3_TESTS_UNIT_OBJECTS_OBJECT_DEVICE_H
#define VTR3_TESTS_UNIT_OBJECTS_OBJECT_DEVICE_H

#include "forwarding_device.h"

#include <stdio.h>

#include <map>
#include <string>
#include <vector>

class ObjectDevice : public ForwardingDevice {
  public:
    using ForwardingDevice::ForwardingDevice;

    std::vector<std::string> TakeCalls() {
        std::vector<std::string> calls;
        calls.swap(calls_);
        return calls;
    }
    void Fail(const std::string& method, HRESULT result) { failures_[method] = result; }

    static std::string Matrix(const float* m) {
        std::string text = "[";
        for (int i = 0; i < 16; ++i) {
            char number[32];
            snprintf(number, sizeof(number), i ? " %.9g" : "%.9g", m[i]);
            text += number;
        }
        return text + "]";
    }

    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                                 IDirect3DVertexBuffer9** buffer, HANDLE* shared) override {
        Record("CreateVertexBuffer(" + Args({length, usage, fvf, static_cast<unsigned>(pool)}) + ")");
        const HRESULT failure = FailureOf("CreateVertexBuffer");
        return failure ? failure
                       : ForwardingDevice::CreateVertexBuffer(length, usage, fvf, pool, buffer, shared);
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DIndexBuffer9** buffer, HANDLE* shared) override {
        Record("CreateIndexBuffer(" +
               Args({length, usage, static_cast<unsigned>(format), static_cast<unsigned>(pool)}) + ")");
        const HRESULT failure = FailureOf("CreateIndexBuffer");
        return failure ? failure
                       : ForwardingDevice::CreateIndexBuffer(length, usage, format, pool, buffer, shared);
    }
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                            HANDLE* shared) override {
        Record(
            "CreateTexture(" +
            Args({width, height, levels, usage, static_cast<unsigned>(format), static_cast<unsigned>(pool)}) +
            ")");
        const HRESULT failure = FailureOf("CreateTexture");
        return failure ? failure
                       : ForwardingDevice::CreateTexture(width, height, levels, usage, format, pool, texture,
                                                         shared);
    }
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                              UINT stride) override {
        Record("SetStreamSource(" + Args({stream}) + ", " + Name(buffer) + ", " + Args({offset, stride}) +
               ")");
        return ForwardingDevice::SetStreamSource(stream, buffer, offset, stride);
    }
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* buffer) override {
        Record("SetIndices(" + Name(buffer) + ")");
        return ForwardingDevice::SetIndices(buffer);
    }
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override {
        Record("SetFVF(" + Args({fvf}) + ")");
        return ForwardingDevice::SetFVF(fvf);
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minIndex,
                                                   UINT vertices, UINT start, UINT primitives) override {
        Record("DrawIndexedPrimitive(" +
               Args({static_cast<unsigned>(type), static_cast<unsigned>(base), minIndex, vertices, start,
                     primitives}) +
               ")");
        return ForwardingDevice::DrawIndexedPrimitive(type, base, minIndex, vertices, start, primitives);
    }
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        Record("SetTransform(" + Args({static_cast<unsigned>(state)}) + ", " + Matrix(&matrix->_11) + ")");
        return ForwardingDevice::SetTransform(state, matrix);
    }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
        if (state == D3DRS_LIGHTING) {
            Record("SetRenderState(LIGHTING, " + Args({value}) + ")");
        }
        return ForwardingDevice::SetRenderState(state, value);
    }
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override {
        const HRESULT result = ForwardingDevice::GetTexture(stage, texture);
        Record("GetTexture(" + Args({stage}) + ") " + Name(*texture));
        return result;
    }
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override {
        Record("SetTexture(" + Args({stage}) + ", " + Name(texture) + ")");
        return ForwardingDevice::SetTexture(stage, texture);
    }

    // Names the tests give device objects in the call list; others show as "object", null as "null".
    std::map<const void*, std::string> names;
    bool recording = true;

  private:
    void Record(const std::string& call) {
        if (recording) {
            calls_.push_back(call);
        }
    }
    std::string Name(const void* object) const {
        if (!object) {
            return "null";
        }
        const auto found = names.find(object);
        return found == names.end() ? "object" : found->second;
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

    std::vector<std::string> calls_;
    std::map<std::string, HRESULT> failures_;
};

#endif
