// The interface identifiers each COM interface answers in QueryInterface: its own and those of the
// interfaces it derives from (IUnknown is answered by every object).
#ifndef VTR3_PLATFORM_COM_INTERFACE_IDS_H
#define VTR3_PLATFORM_COM_INTERFACE_IDS_H

#include <d3d9.h>

#include <initializer_list>

namespace platform::com {

template <typename Interface> struct InterfaceIds;

#define VTR3_INTERFACE_IDS(Interface, ...)                                                                   \
    template <> struct InterfaceIds<Interface> {                                                             \
        static bool Contains(REFIID riid) {                                                                  \
            for (const IID* id : {__VA_ARGS__})                                                              \
                if (IsEqualGUID(riid, *id))                                                                  \
                    return true;                                                                             \
            return false;                                                                                    \
        }                                                                                                    \
    };

VTR3_INTERFACE_IDS(IDirect3D9, &IID_IDirect3D9)
VTR3_INTERFACE_IDS(IDirect3DDevice9, &IID_IDirect3DDevice9)
VTR3_INTERFACE_IDS(IDirect3DSurface9, &IID_IDirect3DSurface9, &IID_IDirect3DResource9)
VTR3_INTERFACE_IDS(IDirect3DTexture9, &IID_IDirect3DTexture9, &IID_IDirect3DBaseTexture9,
                   &IID_IDirect3DResource9)
VTR3_INTERFACE_IDS(IDirect3DCubeTexture9, &IID_IDirect3DCubeTexture9, &IID_IDirect3DBaseTexture9,
                   &IID_IDirect3DResource9)
VTR3_INTERFACE_IDS(IDirect3DVolumeTexture9, &IID_IDirect3DVolumeTexture9, &IID_IDirect3DBaseTexture9,
                   &IID_IDirect3DResource9)
VTR3_INTERFACE_IDS(IDirect3DVertexBuffer9, &IID_IDirect3DVertexBuffer9, &IID_IDirect3DResource9)
VTR3_INTERFACE_IDS(IDirect3DIndexBuffer9, &IID_IDirect3DIndexBuffer9, &IID_IDirect3DResource9)
VTR3_INTERFACE_IDS(IDirect3DVolume9, &IID_IDirect3DVolume9)
VTR3_INTERFACE_IDS(IDirect3DSwapChain9, &IID_IDirect3DSwapChain9)
VTR3_INTERFACE_IDS(IDirect3DVertexDeclaration9, &IID_IDirect3DVertexDeclaration9)
VTR3_INTERFACE_IDS(IDirect3DVertexShader9, &IID_IDirect3DVertexShader9)
VTR3_INTERFACE_IDS(IDirect3DPixelShader9, &IID_IDirect3DPixelShader9)
VTR3_INTERFACE_IDS(IDirect3DStateBlock9, &IID_IDirect3DStateBlock9)
VTR3_INTERFACE_IDS(IDirect3DQuery9, &IID_IDirect3DQuery9)

#undef VTR3_INTERFACE_IDS

} // namespace platform::com

#endif
