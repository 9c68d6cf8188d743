// A ForwardingDevice that names the objects it sees and records, in order, the render-target
// switches, the clip planes and each indexed draw as "<render target 0> <stream 0> <stage 0 texture>
// <fx|ff>". The platform's effects bind their shaders inside the device, so "fx" is told by what
// every pass of the plug-in's effect files sets and End takes back: linear filtering on sampler 0;
// "ff" is a draw with the device's default point sampling, as the copies make. A chosen creation call can be
// made to fail.
#ifndef VTR3_TESTS_UNIT_RENDER_DRAW_RECORDER_H
#define VTR3_TESTS_UNIT_RENDER_DRAW_RECORDER_H

#include "forwarding_device.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

class DrawRecorder : public ForwardingDevice {
  public:
    using ForwardingDevice::ForwardingDevice;

    std::vector<std::string> calls;
    std::map<const void*, std::string> names;
    HRESULT failVertexBuffer = D3D_OK;
    HRESULT failIndexBuffer = D3D_OK;

    std::string Name(const void* object) const {
        if (!object) {
            return "null";
        }
        const auto found = names.find(object);
        return found == names.end() ? "?" : found->second;
    }

    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                                 IDirect3DVertexBuffer9** buffer, HANDLE* shared) override {
        static const char* const kQuads[] = {"full", "half", "quarter"};
        calls.push_back("CreateVertexBuffer(" + std::to_string(length) + ", " + std::to_string(usage) + ", " +
                        std::to_string(fvf) + ", " + std::to_string(pool) + ")");
        if (FAILED(failVertexBuffer)) {
            return failVertexBuffer;
        }
        const HRESULT result = ForwardingDevice::CreateVertexBuffer(length, usage, fvf, pool, buffer, shared);
        if (SUCCEEDED(result)) {
            names[*buffer] = kQuads[vertexBuffers_++ % 3];
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DIndexBuffer9** buffer, HANDLE* shared) override {
        calls.push_back("CreateIndexBuffer(" + std::to_string(length) + ", " + std::to_string(usage) + ", " +
                        std::to_string(format) + ", " + std::to_string(pool) + ")");
        return FAILED(failIndexBuffer)
                   ? failIndexBuffer
                   : ForwardingDevice::CreateIndexBuffer(length, usage, format, pool, buffer, shared);
    }
    HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD index, IDirect3DSurface9** target) override {
        calls.push_back("GetRenderTarget(" + std::to_string(index) + ")");
        return ForwardingDevice::GetRenderTarget(index, target);
    }
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD index, IDirect3DSurface9* target) override {
        calls.push_back("SetRenderTarget(" + std::to_string(index) + ", " + Name(target) + ")");
        if (index == 0) {
            target_ = target;
        }
        return ForwardingDevice::SetRenderTarget(index, target);
    }
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float* plane) override {
        std::ostringstream text;
        text << "SetClipPlane(" << index << ", " << plane[0] << ", " << plane[1] << ", " << plane[2] << ", "
             << plane[3] << ")";
        calls.push_back(text.str());
        return ForwardingDevice::SetClipPlane(index, plane);
    }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
        if (state == D3DRS_CLIPPLANEENABLE) {
            calls.push_back("ClipPlaneEnable(" + std::to_string(value) + ")");
        }
        return ForwardingDevice::SetRenderState(state, value);
    }
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override {
        if (stage == 0) {
            texture0_ = texture;
        }
        return ForwardingDevice::SetTexture(stage, texture);
    }
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                              UINT stride) override {
        if (stream == 0) {
            stream0_ = buffer;
        }
        return ForwardingDevice::SetStreamSource(stream, buffer, offset, stride);
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minimum,
                                                   UINT vertices, UINT start, UINT primitives) override {
        std::string draw =
            Name(target_) + " " + Name(stream0_) + " " + Name(texture0_) + (linear0_ ? " fx" : " ff");
        if (type != D3DPT_TRIANGLELIST || base != 0 || minimum != 0 || vertices != 4 || start != 0 ||
            primitives != 2) {
            draw += " (unexpected arguments)";
        }
        calls.push_back(draw);
        return ForwardingDevice::DrawIndexedPrimitive(type, base, minimum, vertices, start, primitives);
    }

    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override {
        if (sampler == 0 && type == D3DSAMP_MINFILTER) {
            linear0_ = value == D3DTEXF_LINEAR;
        }
        return ForwardingDevice::SetSamplerState(sampler, type, value);
    }

  private:
    int vertexBuffers_ = 0;
    const void* target_ = nullptr;
    const void* stream0_ = nullptr;
    const void* texture0_ = nullptr;
    bool linear0_ = false;
};

#endif
