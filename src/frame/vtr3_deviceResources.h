// Small helpers for the device resources that the plug-in's parts own.
#ifndef VTR3_DEVICERESOURCES_H
#define VTR3_DEVICERESOURCES_H

#include <string.h>

#include <d3d9.h>

// Releases the one reference held and clears the pointer.
template <typename Interface> void VTR3ReleaseReference(Interface*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

// Copies `bytes` bytes into a vertex or index buffer, whole (offset 0, flags 0). A buffer that cannot
// be locked keeps its contents.
template <typename Buffer> void VTR3FillBuffer(Buffer* buffer, const void* data, UINT bytes) {
    void* memory = nullptr;
    if (SUCCEEDED(buffer->Lock(0, bytes, &memory, 0))) {
        if (memory) {
            memcpy(memory, data, bytes);
        }
        buffer->Unlock();
    }
}

#endif
