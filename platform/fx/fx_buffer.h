// ID3DXBuffer: a block of bytes that D3DX calls hand out (compiler messages, among others).
#ifndef VTR3_PLATFORM_FX_FX_BUFFER_H
#define VTR3_PLATFORM_FX_FX_BUFFER_H

#include "com/com_object.h"

#include <d3dx9.h>

#include <string>
#include <vector>

namespace platform::com {
template <> struct InterfaceIds<ID3DXBuffer> {
    static bool Contains(REFIID riid) { return IsEqualGUID(riid, IID_ID3DXBuffer); }
};
} // namespace platform::com

namespace platform::fx {

class Buffer final : public com::ComObject<ID3DXBuffer> {
  public:
    explicit Buffer(std::size_t bytes) : bytes_(bytes) {}
    LPVOID STDMETHODCALLTYPE GetBufferPointer() override { return bytes_.empty() ? nullptr : bytes_.data(); }
    DWORD STDMETHODCALLTYPE GetBufferSize() override { return static_cast<DWORD>(bytes_.size()); }

  private:
    std::vector<unsigned char> bytes_;
};

// A buffer holding the text and its terminating zero, with one reference; null when out of memory.
ID3DXBuffer* CreateTextBuffer(const std::string& text);

} // namespace platform::fx

#endif
