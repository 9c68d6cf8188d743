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

// The device holds a reference to the buffers bound to it. An owner that gives its buffers back unbinds
// them first where they are still bound, so that they really go with the owner's reference. (Textures
// need no such care: an effect's End puts the device's texture stages back as they were.)
inline void VTR3UnbindBuffers(IDirect3DDevice9* device, IDirect3DVertexBuffer9* vertexBuffer,
                              IDirect3DIndexBuffer9* indexBuffer) {
    if (!device) {
        return;
    }
    IDirect3DVertexBuffer9* boundVertices = nullptr;
    UINT offset = 0, stride = 0;
    if (vertexBuffer && SUCCEEDED(device->GetStreamSource(0, &boundVertices, &offset, &stride)) &&
        boundVertices) {
        if (boundVertices == vertexBuffer) {
            device->SetStreamSource(0, NULL, 0, 0);
        }
        boundVertices->Release();
    }
    IDirect3DIndexBuffer9* boundIndices = nullptr;
    if (indexBuffer && SUCCEEDED(device->GetIndices(&boundIndices)) && boundIndices) {
        if (boundIndices == indexBuffer) {
            device->SetIndices(NULL);
        }
        boundIndices->Release();
    }
}

#endif
