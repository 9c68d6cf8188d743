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

// One forwarding method: its return type, name and parameters, and the arguments it passes on.
// clang-format off
#define VTR3_FORWARD(type, name, parameters, arguments) \
    type STDMETHODCALLTYPE name parameters override { return inner_->name arguments; }
// The float, int and BOOL constant setters and getters of one shader stage, Vertex or Pixel.
#define VTR3_FORWARD_CONSTANTS(stage) \
    VTR3_FORWARD(HRESULT, Set##stage##ShaderConstantF, (UINT start, const float* data, UINT count), \
                 (start, data, count)) \
    VTR3_FORWARD(HRESULT, Get##stage##ShaderConstantF, (UINT start, float* data, UINT count), \
                 (start, data, count)) \
    VTR3_FORWARD(HRESULT, Set##stage##ShaderConstantI, (UINT start, const int* data, UINT count), \
                 (start, data, count)) \
    VTR3_FORWARD(HRESULT, Get##stage##ShaderConstantI, (UINT start, int* data, UINT count), \
                 (start, data, count)) \
    VTR3_FORWARD(HRESULT, Set##stage##ShaderConstantB, (UINT start, const BOOL* data, UINT count), \
                 (start, data, count)) \
    VTR3_FORWARD(HRESULT, Get##stage##ShaderConstantB, (UINT start, BOOL* data, UINT count), \
                 (start, data, count))
// clang-format on

class ForwardingDevice : public IDirect3DDevice9 {
  public:
    explicit ForwardingDevice(IDirect3DDevice9* inner) : inner_(inner) { inner_->AddRef(); }
    ForwardingDevice(const ForwardingDevice&) = delete;
    ForwardingDevice& operator=(const ForwardingDevice&) = delete;

    IDirect3DDevice9* Inner() const { return inner_; }

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

    // clang-format off
    VTR3_FORWARD(HRESULT, TestCooperativeLevel, (), ())
    VTR3_FORWARD(UINT, GetAvailableTextureMem, (), ())
    VTR3_FORWARD(HRESULT, EvictManagedResources, (), ())
    VTR3_FORWARD(HRESULT, GetDirect3D, (IDirect3D9** ppD3D9), (ppD3D9))
    VTR3_FORWARD(HRESULT, GetDeviceCaps, (D3DCAPS9* pCaps), (pCaps))
    VTR3_FORWARD(HRESULT, GetDisplayMode, (UINT iSwapChain, D3DDISPLAYMODE* pMode), (iSwapChain, pMode))
    VTR3_FORWARD(HRESULT, GetCreationParameters, (D3DDEVICE_CREATION_PARAMETERS* pParameters), (pParameters))
    VTR3_FORWARD(HRESULT, SetCursorProperties, (UINT XHotSpot, UINT YHotSpot,
                 IDirect3DSurface9* pCursorBitmap), (XHotSpot, YHotSpot, pCursorBitmap))
    VTR3_FORWARD(void, SetCursorPosition, (int X, int Y, DWORD Flags), (X, Y, Flags))
    VTR3_FORWARD(BOOL, ShowCursor, (BOOL bShow), (bShow))
    VTR3_FORWARD(HRESULT, CreateAdditionalSwapChain, (D3DPRESENT_PARAMETERS* pPresentationParameters,
                 IDirect3DSwapChain9** pSwapChain), (pPresentationParameters, pSwapChain))
    VTR3_FORWARD(HRESULT, GetSwapChain, (UINT iSwapChain, IDirect3DSwapChain9** pSwapChain),
                 (iSwapChain, pSwapChain))
    VTR3_FORWARD(UINT, GetNumberOfSwapChains, (), ())
    VTR3_FORWARD(HRESULT, Reset, (D3DPRESENT_PARAMETERS* pPresentationParameters), (pPresentationParameters))
    VTR3_FORWARD(HRESULT, Present, (const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                 const RGNDATA* pDirtyRegion), (pSourceRect, pDestRect, hDestWindowOverride, pDirtyRegion))
    VTR3_FORWARD(HRESULT, GetBackBuffer, (UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                 IDirect3DSurface9** ppBackBuffer), (iSwapChain, iBackBuffer, Type, ppBackBuffer))
    VTR3_FORWARD(HRESULT, GetRasterStatus, (UINT iSwapChain, D3DRASTER_STATUS* pRasterStatus),
                 (iSwapChain, pRasterStatus))
    VTR3_FORWARD(HRESULT, SetDialogBoxMode, (BOOL bEnableDialogs), (bEnableDialogs))
    VTR3_FORWARD(void, SetGammaRamp, (UINT iSwapChain, DWORD Flags, const D3DGAMMARAMP* pRamp),
                 (iSwapChain, Flags, pRamp))
    VTR3_FORWARD(void, GetGammaRamp, (UINT iSwapChain, D3DGAMMARAMP* pRamp), (iSwapChain, pRamp))
    VTR3_FORWARD(HRESULT, CreateTexture, (UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                 D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle),
                 (Width, Height, Levels, Usage, Format, Pool, ppTexture, pSharedHandle))
    VTR3_FORWARD(HRESULT, CreateVolumeTexture, (UINT Width, UINT Height, UINT Depth, UINT Levels, DWORD Usage,
                 D3DFORMAT Format, D3DPOOL Pool, IDirect3DVolumeTexture9** ppVolumeTexture,
                 HANDLE* pSharedHandle),
                 (Width, Height, Depth, Levels, Usage, Format, Pool, ppVolumeTexture, pSharedHandle))
    VTR3_FORWARD(HRESULT, CreateCubeTexture, (UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format,
                 D3DPOOL Pool, IDirect3DCubeTexture9** ppCubeTexture, HANDLE* pSharedHandle),
                 (EdgeLength, Levels, Usage, Format, Pool, ppCubeTexture, pSharedHandle))
    VTR3_FORWARD(HRESULT, CreateVertexBuffer, (UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                 IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle),
                 (Length, Usage, FVF, Pool, ppVertexBuffer, pSharedHandle))
    VTR3_FORWARD(HRESULT, CreateIndexBuffer, (UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                 IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle),
                 (Length, Usage, Format, Pool, ppIndexBuffer, pSharedHandle))
    VTR3_FORWARD(HRESULT, CreateRenderTarget, (UINT Width, UINT Height, D3DFORMAT Format,
                 D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, BOOL Lockable,
                 IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle),
                 (Width, Height, Format, MultiSample, MultisampleQuality, Lockable, ppSurface, pSharedHandle))
    VTR3_FORWARD(HRESULT, CreateDepthStencilSurface, (UINT Width, UINT Height, D3DFORMAT Format,
                 D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, BOOL Discard,
                 IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle),
                 (Width, Height, Format, MultiSample, MultisampleQuality, Discard, ppSurface, pSharedHandle))
    VTR3_FORWARD(HRESULT, UpdateSurface, (IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                 IDirect3DSurface9* pDestinationSurface, const POINT* pDestPoint),
                 (pSourceSurface, pSourceRect, pDestinationSurface, pDestPoint))
    VTR3_FORWARD(HRESULT, UpdateTexture, (IDirect3DBaseTexture9* pSourceTexture,
                 IDirect3DBaseTexture9* pDestinationTexture), (pSourceTexture, pDestinationTexture))
    VTR3_FORWARD(HRESULT, GetRenderTargetData, (IDirect3DSurface9* pRenderTarget,
                 IDirect3DSurface9* pDestSurface), (pRenderTarget, pDestSurface))
    VTR3_FORWARD(HRESULT, GetFrontBufferData, (UINT iSwapChain, IDirect3DSurface9* pDestSurface),
                 (iSwapChain, pDestSurface))
    VTR3_FORWARD(HRESULT, StretchRect, (IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                 IDirect3DSurface9* pDestSurface, const RECT* pDestRect, D3DTEXTUREFILTERTYPE Filter),
                 (pSourceSurface, pSourceRect, pDestSurface, pDestRect, Filter))
    VTR3_FORWARD(HRESULT, ColorFill, (IDirect3DSurface9* pSurface, const RECT* pRect, D3DCOLOR color),
                 (pSurface, pRect, color))
    VTR3_FORWARD(HRESULT, CreateOffscreenPlainSurface, (UINT Width, UINT Height, D3DFORMAT Format,
                 D3DPOOL Pool, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle),
                 (Width, Height, Format, Pool, ppSurface, pSharedHandle))
    VTR3_FORWARD(HRESULT, SetRenderTarget, (DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget),
                 (RenderTargetIndex, pRenderTarget))
    VTR3_FORWARD(HRESULT, GetRenderTarget, (DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget),
                 (RenderTargetIndex, ppRenderTarget))
    VTR3_FORWARD(HRESULT, SetDepthStencilSurface, (IDirect3DSurface9* pNewZStencil), (pNewZStencil))
    VTR3_FORWARD(HRESULT, GetDepthStencilSurface, (IDirect3DSurface9** ppZStencilSurface),
                 (ppZStencilSurface))
    VTR3_FORWARD(HRESULT, BeginScene, (), ())
    VTR3_FORWARD(HRESULT, EndScene, (), ())
    VTR3_FORWARD(HRESULT, Clear, (DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                 DWORD Stencil), (Count, pRects, Flags, Color, Z, Stencil))
    VTR3_FORWARD(HRESULT, SetTransform, (D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix),
                 (State, pMatrix))
    VTR3_FORWARD(HRESULT, GetTransform, (D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix), (State, pMatrix))
    VTR3_FORWARD(HRESULT, MultiplyTransform, (D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix),
                 (State, pMatrix))
    VTR3_FORWARD(HRESULT, SetViewport, (const D3DVIEWPORT9* pViewport), (pViewport))
    VTR3_FORWARD(HRESULT, GetViewport, (D3DVIEWPORT9* pViewport), (pViewport))
    VTR3_FORWARD(HRESULT, SetMaterial, (const D3DMATERIAL9* pMaterial), (pMaterial))
    VTR3_FORWARD(HRESULT, GetMaterial, (D3DMATERIAL9* pMaterial), (pMaterial))
    VTR3_FORWARD(HRESULT, SetLight, (DWORD Index, const D3DLIGHT9* pLight), (Index, pLight))
    VTR3_FORWARD(HRESULT, GetLight, (DWORD Index, D3DLIGHT9* pLight), (Index, pLight))
    VTR3_FORWARD(HRESULT, LightEnable, (DWORD Index, BOOL Enable), (Index, Enable))
    VTR3_FORWARD(HRESULT, GetLightEnable, (DWORD Index, BOOL* pEnable), (Index, pEnable))
    VTR3_FORWARD(HRESULT, SetClipPlane, (DWORD Index, const float* pPlane), (Index, pPlane))
    VTR3_FORWARD(HRESULT, GetClipPlane, (DWORD Index, float* pPlane), (Index, pPlane))
    VTR3_FORWARD(HRESULT, SetRenderState, (D3DRENDERSTATETYPE State, DWORD Value), (State, Value))
    VTR3_FORWARD(HRESULT, GetRenderState, (D3DRENDERSTATETYPE State, DWORD* pValue), (State, pValue))
    VTR3_FORWARD(HRESULT, CreateStateBlock, (D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB),
                 (Type, ppSB))
    VTR3_FORWARD(HRESULT, BeginStateBlock, (), ())
    VTR3_FORWARD(HRESULT, EndStateBlock, (IDirect3DStateBlock9** ppSB), (ppSB))
    VTR3_FORWARD(HRESULT, SetClipStatus, (const D3DCLIPSTATUS9* pClipStatus), (pClipStatus))
    VTR3_FORWARD(HRESULT, GetClipStatus, (D3DCLIPSTATUS9* pClipStatus), (pClipStatus))
    VTR3_FORWARD(HRESULT, GetTexture, (DWORD Stage, IDirect3DBaseTexture9** ppTexture), (Stage, ppTexture))
    VTR3_FORWARD(HRESULT, SetTexture, (DWORD Stage, IDirect3DBaseTexture9* pTexture), (Stage, pTexture))
    VTR3_FORWARD(HRESULT, GetTextureStageState, (DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue),
                 (Stage, Type, pValue))
    VTR3_FORWARD(HRESULT, SetTextureStageState, (DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value),
                 (Stage, Type, Value))
    VTR3_FORWARD(HRESULT, GetSamplerState, (DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue),
                 (Sampler, Type, pValue))
    VTR3_FORWARD(HRESULT, SetSamplerState, (DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value),
                 (Sampler, Type, Value))
    VTR3_FORWARD(HRESULT, ValidateDevice, (DWORD* pNumPasses), (pNumPasses))
    VTR3_FORWARD(HRESULT, SetPaletteEntries, (UINT PaletteNumber, const PALETTEENTRY* pEntries),
                 (PaletteNumber, pEntries))
    VTR3_FORWARD(HRESULT, GetPaletteEntries, (UINT PaletteNumber, PALETTEENTRY* pEntries),
                 (PaletteNumber, pEntries))
    VTR3_FORWARD(HRESULT, SetCurrentTexturePalette, (UINT PaletteNumber), (PaletteNumber))
    VTR3_FORWARD(HRESULT, GetCurrentTexturePalette, (UINT* PaletteNumber), (PaletteNumber))
    VTR3_FORWARD(HRESULT, SetScissorRect, (const RECT* pRect), (pRect))
    VTR3_FORWARD(HRESULT, GetScissorRect, (RECT* pRect), (pRect))
    VTR3_FORWARD(HRESULT, SetSoftwareVertexProcessing, (BOOL bSoftware), (bSoftware))
    VTR3_FORWARD(BOOL, GetSoftwareVertexProcessing, (), ())
    VTR3_FORWARD(HRESULT, SetNPatchMode, (float nSegments), (nSegments))
    VTR3_FORWARD(float, GetNPatchMode, (), ())
    VTR3_FORWARD(HRESULT, DrawPrimitive, (D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                 UINT PrimitiveCount), (PrimitiveType, StartVertex, PrimitiveCount))
    VTR3_FORWARD(HRESULT, DrawIndexedPrimitive, (D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                 UINT MinVertexIndex, UINT NumVertices, UINT startIndex, UINT primCount),
                 (PrimitiveType, BaseVertexIndex, MinVertexIndex, NumVertices, startIndex, primCount))
    VTR3_FORWARD(HRESULT, DrawPrimitiveUP, (D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                 const void* pVertexStreamZeroData, UINT VertexStreamZeroStride),
                 (PrimitiveType, PrimitiveCount, pVertexStreamZeroData, VertexStreamZeroStride))
    VTR3_FORWARD(HRESULT, DrawIndexedPrimitiveUP, (D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex,
                 UINT NumVertices, UINT PrimitiveCount, const void* pIndexData, D3DFORMAT IndexDataFormat,
                 const void* pVertexStreamZeroData, UINT VertexStreamZeroStride),
                 (PrimitiveType, MinVertexIndex, NumVertices, PrimitiveCount, pIndexData, IndexDataFormat,
                  pVertexStreamZeroData, VertexStreamZeroStride))
    VTR3_FORWARD(HRESULT, ProcessVertices, (UINT SrcStartIndex, UINT DestIndex, UINT VertexCount,
                 IDirect3DVertexBuffer9* pDestBuffer, IDirect3DVertexDeclaration9* pVertexDecl, DWORD Flags),
                 (SrcStartIndex, DestIndex, VertexCount, pDestBuffer, pVertexDecl, Flags))
    VTR3_FORWARD(HRESULT, CreateVertexDeclaration, (const D3DVERTEXELEMENT9* pVertexElements,
                 IDirect3DVertexDeclaration9** ppDecl), (pVertexElements, ppDecl))
    VTR3_FORWARD(HRESULT, SetVertexDeclaration, (IDirect3DVertexDeclaration9* pDecl), (pDecl))
    VTR3_FORWARD(HRESULT, GetVertexDeclaration, (IDirect3DVertexDeclaration9** ppDecl), (ppDecl))
    VTR3_FORWARD(HRESULT, SetFVF, (DWORD FVF), (FVF))
    VTR3_FORWARD(HRESULT, GetFVF, (DWORD* pFVF), (pFVF))
    VTR3_FORWARD(HRESULT, CreateVertexShader, (const DWORD* pFunction, IDirect3DVertexShader9** ppShader),
                 (pFunction, ppShader))
    VTR3_FORWARD(HRESULT, SetVertexShader, (IDirect3DVertexShader9* pShader), (pShader))
    VTR3_FORWARD(HRESULT, GetVertexShader, (IDirect3DVertexShader9** ppShader), (ppShader))
    VTR3_FORWARD_CONSTANTS(Vertex)
    VTR3_FORWARD(HRESULT, SetStreamSource, (UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                 UINT OffsetInBytes, UINT Stride), (StreamNumber, pStreamData, OffsetInBytes, Stride))
    VTR3_FORWARD(HRESULT, GetStreamSource, (UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData,
                 UINT* pOffsetInBytes, UINT* pStride), (StreamNumber, ppStreamData, pOffsetInBytes, pStride))
    VTR3_FORWARD(HRESULT, SetStreamSourceFreq, (UINT StreamNumber, UINT Setting), (StreamNumber, Setting))
    VTR3_FORWARD(HRESULT, GetStreamSourceFreq, (UINT StreamNumber, UINT* pSetting), (StreamNumber, pSetting))
    VTR3_FORWARD(HRESULT, SetIndices, (IDirect3DIndexBuffer9* pIndexData), (pIndexData))
    VTR3_FORWARD(HRESULT, GetIndices, (IDirect3DIndexBuffer9** ppIndexData), (ppIndexData))
    VTR3_FORWARD(HRESULT, CreatePixelShader, (const DWORD* pFunction, IDirect3DPixelShader9** ppShader),
                 (pFunction, ppShader))
    VTR3_FORWARD(HRESULT, SetPixelShader, (IDirect3DPixelShader9* pShader), (pShader))
    VTR3_FORWARD(HRESULT, GetPixelShader, (IDirect3DPixelShader9** ppShader), (ppShader))
    VTR3_FORWARD_CONSTANTS(Pixel)
    VTR3_FORWARD(HRESULT, DrawRectPatch, (UINT Handle, const float* pNumSegs,
                 const D3DRECTPATCH_INFO* pRectPatchInfo), (Handle, pNumSegs, pRectPatchInfo))
    VTR3_FORWARD(HRESULT, DrawTriPatch, (UINT Handle, const float* pNumSegs,
                 const D3DTRIPATCH_INFO* pTriPatchInfo), (Handle, pNumSegs, pTriPatchInfo))
    VTR3_FORWARD(HRESULT, DeletePatch, (UINT Handle), (Handle))
    VTR3_FORWARD(HRESULT, CreateQuery, (D3DQUERYTYPE Type, IDirect3DQuery9** ppQuery), (Type, ppQuery))
    // clang-format on

  protected:
    virtual ~ForwardingDevice() { inner_->Release(); }

  private:
    IDirect3DDevice9* inner_;
    ULONG refCount_ = 1;
};

#undef VTR3_FORWARD_CONSTANTS
#undef VTR3_FORWARD

#endif
