// A ForwardingDevice that writes the texture creations made on it into a call list, with their
// arguments, and fails a chosen method with a chosen result.
//
//   RecordingDevice* device = new RecordingDevice(real);
//   device->Fail("CreateCubeTexture", D3DERR_OUTOFVIDEOMEMORY);
//   ... device->calls() == {"CreateTexture(256, 128, 1, RENDERTARGET, 21, DEFAULT)", ...}
#ifndef VTR3_TESTS_SUPPORT_RECORDING_DEVICE_H
#define VTR3_TESTS_SUPPORT_RECORDING_DEVICE_H

#include "forwarding_device.h"

#include <map>
#include <string>
#include <vector>

class RecordingDevice : public ForwardingDevice {
  public:
    using ForwardingDevice::ForwardingDevice;

    std::vector<std::string>& calls() { return calls_; }
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
        calls_.push_back("CreateTexture(" + std::to_string(width) + ", " + std::to_string(height) + ", " +
                         std::to_string(levels) + ", " + UsageName(usage) + ", " + std::to_string(format) +
                         ", " + PoolName(pool) + ")");
        if (HRESULT failure = FailureOf("CreateTexture")) {
            return failure;
        }
        return ForwardingDevice::CreateTexture(width, height, levels, usage, format, pool, texture, shared);
    }

    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DCubeTexture9** texture,
                                                HANDLE* shared) override {
        calls_.push_back("CreateCubeTexture(" + std::to_string(edge) + ", " + std::to_string(levels) + ", " +
                         UsageName(usage) + ", " + std::to_string(format) + ", " + PoolName(pool) + ")");
        if (HRESULT failure = FailureOf("CreateCubeTexture")) {
            return failure;
        }
        return ForwardingDevice::CreateCubeTexture(edge, levels, usage, format, pool, texture, shared);
    }

  private:
    HRESULT FailureOf(const std::string& method) const {
        const auto found = failures_.find(method);
        return found == failures_.end() ? D3D_OK : found->second;
    }

    std::vector<std::string> calls_;
    std::map<std::string, HRESULT> failures_;
};

#endif
