// The application data a resource carries under GUIDs (SetPrivateData and its siblings). Data set
// with D3DSPD_IUNKNOWN is an interface pointer: the store holds a reference on it.
#ifndef VTR3_PLATFORM_DEVICE_PRIVATE_DATA_H
#define VTR3_PLATFORM_DEVICE_PRIVATE_DATA_H

#include <d3d9.h>

#include <vector>

namespace platform::device {

class PrivateData {
  public:
    PrivateData() = default;
    PrivateData(const PrivateData&) = delete;
    PrivateData& operator=(const PrivateData&) = delete;
    ~PrivateData();

    HRESULT Set(REFGUID guid, const void* data, DWORD size, DWORD flags);
    HRESULT Get(REFGUID guid, void* data, DWORD* size) const;
    HRESULT Free(REFGUID guid);

  private:
    struct Entry {
        GUID guid;
        std::vector<unsigned char> bytes;
        IUnknown* object; // non-null for D3DSPD_IUNKNOWN data
    };

    std::vector<Entry>::iterator Find(REFGUID guid);
    static void Clear(Entry& entry);

    std::vector<Entry> entries_;
};

} // namespace platform::device

#endif
