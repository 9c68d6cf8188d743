// The one reference-counting base of every COM object of the platform.
//
// Two counts, as DXVK keeps them: the public count is the caller's (AddRef/Release, the numbers the
// API returns); the private count is the platform's own (the device's hold on its back buffer, state
// that binds an object). While the public count is above zero it holds one private reference, and the
// object is deleted when the private count reaches zero. So a caller who releases "too much" cannot
// destroy an object the device still uses, and internal holds never show in the caller's numbers.
#ifndef VTR3_PLATFORM_COM_COM_OBJECT_H
#define VTR3_PLATFORM_COM_COM_OBJECT_H

#include "com/interface_ids.h"
#include "com/live_objects.h"

#include <windows.h>

#include <atomic>

namespace platform::com {

template <typename Interface> class ComObject : public Interface {
  public:
    ComObject() { CountObjectCreated(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!IsEqualGUID(riid, IID_IUnknown) && !InterfaceIds<Interface>::Contains(riid))
            return E_NOINTERFACE;
        this->AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override {
        const ULONG count = ++publicCount_;
        if (count == 1)
            AddRefPrivate();
        return count;
    }

    ULONG STDMETHODCALLTYPE Release() override {
        ULONG remaining = 0;
        DropPublicRef(&remaining);
        return remaining;
    }

    void AddRefPrivate() { ++privateCount_; }

    void ReleasePrivate() {
        if (--privateCount_ == 0)
            delete this;
    }

    ULONG PublicRefCount() const { return publicCount_; }

  protected:
    virtual ~ComObject() { CountObjectDestroyed(); }

    // Drops one public reference and reports the count left; false when there was none to drop (a
    // release past zero is the caller's bug and is refused rather than freeing the object twice).
    // The object may be gone when this returns with *remaining == 0.
    bool DropPublicRef(ULONG* remaining) {
        ULONG count = publicCount_.load();
        do {
            if (count == 0) {
                *remaining = 0;
                return false;
            }
        } while (!publicCount_.compare_exchange_weak(count, count - 1));
        *remaining = count - 1;
        if (count == 1)
            ReleasePrivate();
        return true;
    }

  private:
    std::atomic<ULONG> publicCount_{0};
    std::atomic<ULONG> privateCount_{0};
};

} // namespace platform::com

#endif
