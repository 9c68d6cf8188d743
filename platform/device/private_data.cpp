#include "device/private_data.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace platform::device {

PrivateData::~PrivateData() {
    for (Entry& entry : entries_)
        Clear(entry);
}

std::vector<PrivateData::Entry>::iterator PrivateData::Find(REFGUID guid) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& entry) { return IsEqualGUID(entry.guid, guid); });
}

void PrivateData::Clear(Entry& entry) {
    if (entry.object)
        entry.object->Release();
    entry.object = nullptr;
    entry.bytes.clear();
}

HRESULT PrivateData::Set(REFGUID guid, const void* data, DWORD size, DWORD flags) {
    const bool isObject = (flags & D3DSPD_IUNKNOWN) != 0;
    if (!data && size != 0)
        return D3DERR_INVALIDCALL;
    if (isObject && (size != sizeof(IUnknown*) || !data))
        return D3DERR_INVALIDCALL;
    IUnknown* object = nullptr;
    if (isObject)
        std::memcpy(&object, data, sizeof(object));

    try {
        auto it = Find(guid);
        if (it == entries_.end()) {
            entries_.push_back(Entry{guid, {}, nullptr});
            it = entries_.end() - 1;
        }
        Clear(*it);
        it->bytes.assign(static_cast<const unsigned char*>(data),
                         static_cast<const unsigned char*>(data) + size);
        if (object) {
            object->AddRef();
            it->object = object;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT PrivateData::Get(REFGUID guid, void* data, DWORD* size) const {
    if (!size)
        return D3DERR_INVALIDCALL;
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& entry) { return IsEqualGUID(entry.guid, guid); });
    if (it == entries_.end())
        return D3DERR_NOTFOUND;
    const DWORD needed = static_cast<DWORD>(it->bytes.size());
    // A null buffer asks for the size only.
    if (!data) {
        *size = needed;
        return D3D_OK;
    }
    if (*size < needed) {
        *size = needed;
        return D3DERR_MOREDATA;
    }
    if (needed)
        std::memcpy(data, it->bytes.data(), needed);
    // The caller receives a reference of its own on an interface pointer.
    if (it->object)
        it->object->AddRef();
    *size = needed;
    return D3D_OK;
}

HRESULT PrivateData::Free(REFGUID guid) {
    auto it = Find(guid);
    if (it == entries_.end())
        return D3DERR_NOTFOUND;
    Clear(*it);
    entries_.erase(it);
    return D3D_OK;
}

} // namespace platform::device
