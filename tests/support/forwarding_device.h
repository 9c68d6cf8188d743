// A test double of IDirect3DDevice9: every method forwards to a wrapped real device. Tests derive from
// it and override a method to fail a chosen call or to record calls, e.g.
//
//   struct FailingCaps : ForwardingDevice {
//       using ForwardingDevice::ForwardingDevice;
//       HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9*) override { return D3DERR_INVALIDCALL; }
//   };
//
// It has a reference count of its own, starting at 1 for its creator, and holds one reference on the
// wrapped device, released when its own count reaches 0. Objects the wrapped device hands out
// (surfaces, textures) answer GetDevice with the wrapped device, not with the wrapper.
#ifndef VTR3_TESTS_SUPPORT_FORWARDING_DEVICE_H
#define VTR3_TESTS_SUPPORT_FORWARDING_DEVICE_H

#include <d3d9.h>

class ForwardingDevice : public IDirect3DDevice9 {
  public:
    explicit ForwardingDevice(IDirect3DDevice9* inner) : inner_(inner) { inner_->AddRef(); }
    ForwardingDevice(const ForwardingDevice&) = delete;
    ForwardingDevice& operator=(const ForwardingDevice&) = delete;

    // The wrapper answers for itself, so that a QueryInterface round trip does not escape it.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!IsEqualGUID(riid, IID_IUnknown) && !IsEqualGUID(riid, IID_IDirect3DDevice9))
            return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IDirect3DDevice9*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refCount_; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (refCount_ == 0)
            return 0;
        const ULONG count = --refCount_;
        if (count == 0)
            delete this;
        return count;
    }

  protected:
    virtual ~ForwardingDevice() { inner_->Release(); }

  public:
    // Every other method, generated from d3d9.h by forward_methods.awk.
#include "forwarding_device_methods.inc"

  private:
    IDirect3DDevice9* inner_;
    ULONG refCount_ = 1;
};

#endif
