#include "fx/fx_buffer.h"

#include <cstring>
#include <new>

namespace platform::fx {

ID3DXBuffer* CreateTextBuffer(const std::string& text) {
    Buffer* buffer = new (std::nothrow) Buffer(text.size() + 1);
    if (!buffer)
        return nullptr;
    buffer->AddRef();
    std::memcpy(buffer->GetBufferPointer(), text.c_str(), text.size() + 1);
    return buffer;
}

} // namespace platform::fx

extern "C" HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer) {
    if (!ppBuffer)
        return D3DERR_INVALIDCALL;
    *ppBuffer = nullptr;
    try {
        auto* buffer = new platform::fx::Buffer(NumBytes);
        buffer->AddRef();
        *ppBuffer = buffer;
        return D3D_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
