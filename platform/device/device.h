// IDirect3DDevice9 over OpenGL 4.5 core. The class is split by area over several files:
//   device.cpp           creation, lifetime and the device's own queries
//   device_targets.cpp   back buffer, render targets, depth-stencil surface, scenes and Present
//   device_clear.cpp     viewport and Clear
//   device_resources.cpp creation of textures, surfaces and buffers
//   device_copy.cpp      copies between surfaces: UpdateSurface, StretchRect, ColorFill, ...
//   device_bindings.cpp  textures, stream sources and indices bound for drawing
//   device_pending.cpp   the methods not offered yet, each failing with D3DERR_INVALIDCALL
//
// Conventions: Direct3D's row 0 (the top row) is row 0 of every OpenGL image, so rectangles pass to
// GL unchanged and read-back needs no flip; drawing follows with a y flip in the vertex stage.
#ifndef VTR3_PLATFORM_DEVICE_DEVICE_H
#define VTR3_PLATFORM_DEVICE_DEVICE_H

#include "com/com_object.h"
#include "com/com_ref.h"
#include "device/gl_state_cache.h"

#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform::egl {
class GlContext;
}

namespace platform::device {

class BaseTexture;
class DrawPath;
class Query;
class VertexDeclaration;
struct VertexInput;
struct DeviceState;
class Surface;
template <typename Interface, typename Description> class Buffer;
using IndexBuffer = Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;
using VertexBuffer = Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;

class Device final : public com::ComObject<IDirect3DDevice9> {
  public:
    // Validates the arguments as IDirect3D9::CreateDevice does and creates the device with one public
    // reference; fills in the presentation parameters Direct3D completes (size, formats, count).
    static HRESULT Create(IDirect3D9* direct3d, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                          D3DPRESENT_PARAMETERS* presentationParameters, IDirect3DDevice9** device);

    // For the device's own objects: GL calls need the device's context current. MakeCurrent asks EGL
    // (device creation, BeginScene, resources, copies, clears); the draws and the effect framework's
    // per-draw uploads trust that answer until the next question, so a draw costs no EGL call.
    bool MakeCurrent();
    bool MakeCurrentForDraw();

    // D3DCREATE_MULTITHREADED: every method that touches the device holds this recursive lock
    // (through DeviceLock). The outermost holder leaves the GL context un-current on its way out, as
    // an EGL context is current on one thread at a time.
    bool Multithreaded() const { return multithreaded_; }
    void Lock();
    void Unlock();
    GlStateCache& Gl() { return gl_; }
    // The occlusion query counting samples now, if any (GL counts one at a time).
    Query*& BuildingOcclusion() { return buildingOcclusion_; }

    // platform::ReadBackBuffer and its depth-stencil counterpart.
    bool ReadBackBuffer(std::vector<std::uint8_t>* pixels, UINT* width, UINT* height);
    bool ReadDepthStencil(std::vector<float>* depth, std::vector<std::uint8_t>* stencil, UINT* width,
                          UINT* height);

    // IDirect3DDevice9, in the SDK's order.
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override;
    HRESULT STDMETHODCALLTYPE EvictManagedResources() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** ppD3D9) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* pCaps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) override;
    HRESULT STDMETHODCALLTYPE GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) override;
    HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT xHotSpot, UINT yHotSpot,
                                                  IDirect3DSurface9* pCursorBitmap) override;
    void STDMETHODCALLTYPE SetCursorPosition(int x, int y, DWORD flags) override;
    BOOL STDMETHODCALLTYPE ShowCursor(BOOL bShow) override;
    HRESULT STDMETHODCALLTYPE CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* pPresentationParameters,
                                                        IDirect3DSwapChain9** pSwapChain) override;
    HRESULT STDMETHODCALLTYPE GetSwapChain(UINT iSwapChain, IDirect3DSwapChain9** pSwapChain) override;
    UINT STDMETHODCALLTYPE GetNumberOfSwapChains() override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* pSourceRect, const RECT* pDestRect,
                                      HWND hDestWindowOverride, const RGNDATA* pDirtyRegion) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE type,
                                            IDirect3DSurface9** ppBackBuffer) override;
    HRESULT STDMETHODCALLTYPE GetRasterStatus(UINT iSwapChain, D3DRASTER_STATUS* pRasterStatus) override;
    HRESULT STDMETHODCALLTYPE SetDialogBoxMode(BOOL bEnableDialogs) override;
    void STDMETHODCALLTYPE SetGammaRamp(UINT iSwapChain, DWORD flags, const D3DGAMMARAMP* pRamp) override;
    void STDMETHODCALLTYPE GetGammaRamp(UINT iSwapChain, D3DGAMMARAMP* pRamp) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** ppTexture,
                                            HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels,
                                                  DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                  IDirect3DVolumeTexture9** ppVolumeTexture,
                                                  HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT edgeLength, UINT levels, DWORD usage, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DCubeTexture9** ppCubeTexture,
                                                HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fVF, D3DPOOL pool,
                                                 IDirect3DVertexBuffer9** ppVertexBuffer,
                                                 HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DIndexBuffer9** ppIndexBuffer,
                                                HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                                 D3DMULTISAMPLE_TYPE multiSample, DWORD multisampleQuality,
                                                 BOOL lockable, IDirect3DSurface9** ppSurface,
                                                 HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                        D3DMULTISAMPLE_TYPE multiSample,
                                                        DWORD multisampleQuality, BOOL discard,
                                                        IDirect3DSurface9** ppSurface,
                                                        HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                                            IDirect3DSurface9* pDestinationSurface,
                                            const POINT* pDestPoint) override;
    HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture9* pSourceTexture,
                                            IDirect3DBaseTexture9* pDestinationTexture) override;
    HRESULT STDMETHODCALLTYPE GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                                  IDirect3DSurface9* pDestSurface) override;
    HRESULT STDMETHODCALLTYPE GetFrontBufferData(UINT iSwapChain, IDirect3DSurface9* pDestSurface) override;
    HRESULT STDMETHODCALLTYPE StretchRect(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                                          IDirect3DSurface9* pDestSurface, const RECT* pDestRect,
                                          D3DTEXTUREFILTERTYPE filter) override;
    HRESULT STDMETHODCALLTYPE ColorFill(IDirect3DSurface9* pSurface, const RECT* pRect,
                                        D3DCOLOR color) override;
    HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                          D3DPOOL pool, IDirect3DSurface9** ppSurface,
                                                          HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD renderTargetIndex,
                                              IDirect3DSurface9* pRenderTarget) override;
    HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD renderTargetIndex,
                                              IDirect3DSurface9** ppRenderTarget) override;
    HRESULT STDMETHODCALLTYPE SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil) override;
    HRESULT STDMETHODCALLTYPE GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* pRects, DWORD flags, D3DCOLOR color, float z,
                                    DWORD stencil) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE state,
                                                const D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9* pViewport) override;
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* pViewport) override;
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9* pMaterial) override;
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* pMaterial) override;
    HRESULT STDMETHODCALLTYPE SetLight(DWORD index, const D3DLIGHT9* pLight) override;
    HRESULT STDMETHODCALLTYPE GetLight(DWORD index, D3DLIGHT9* pLight) override;
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD index, BOOL enable) override;
    HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD index, BOOL* pEnable) override;
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float* pPlane) override;
    HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD index, float* pPlane) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE state, DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** ppSB) override;
    HRESULT STDMETHODCALLTYPE BeginStateBlock() override;
    HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DStateBlock9** ppSB) override;
    HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS9* pClipStatus) override;
    HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS9* pClipStatus) override;
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture9** ppTexture) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* pTexture) override;
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type,
                                              DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD* pNumPasses) override;
    HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT paletteNumber, const PALETTEENTRY* pEntries) override;
    HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT paletteNumber, PALETTEENTRY* pEntries) override;
    HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT paletteNumber) override;
    HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT* paletteNumber) override;
    HRESULT STDMETHODCALLTYPE SetScissorRect(const RECT* pRect) override;
    HRESULT STDMETHODCALLTYPE GetScissorRect(RECT* pRect) override;
    HRESULT STDMETHODCALLTYPE SetSoftwareVertexProcessing(BOOL bSoftware) override;
    BOOL STDMETHODCALLTYPE GetSoftwareVertexProcessing() override;
    HRESULT STDMETHODCALLTYPE SetNPatchMode(float nSegments) override;
    float STDMETHODCALLTYPE GetNPatchMode() override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE primitiveType, UINT startVertex,
                                            UINT primitiveCount) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE primitiveType, INT baseVertexIndex,
                                                   UINT minVertexIndex, UINT numVertices, UINT startIndex,
                                                   UINT primCount) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE primitiveType, UINT primitiveCount,
                                              const void* pVertexStreamZeroData,
                                              UINT vertexStreamZeroStride) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE primitiveType, UINT minVertexIndex,
                                                     UINT numVertices, UINT primitiveCount,
                                                     const void* pIndexData, D3DFORMAT indexDataFormat,
                                                     const void* pVertexStreamZeroData,
                                                     UINT vertexStreamZeroStride) override;
    HRESULT STDMETHODCALLTYPE ProcessVertices(UINT srcStartIndex, UINT destIndex, UINT vertexCount,
                                              IDirect3DVertexBuffer9* pDestBuffer,
                                              IDirect3DVertexDeclaration9* pVertexDecl, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                                      IDirect3DVertexDeclaration9** ppDecl) override;
    HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) override;
    HRESULT STDMETHODCALLTYPE GetVertexDeclaration(IDirect3DVertexDeclaration9** ppDecl) override;
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD fVF) override;
    HRESULT STDMETHODCALLTYPE GetFVF(DWORD* pFVF) override;
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* pFunction,
                                                 IDirect3DVertexShader9** ppShader) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* pShader) override;
    HRESULT STDMETHODCALLTYPE GetVertexShader(IDirect3DVertexShader9** ppShader) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT startRegister, const float* pConstantData,
                                                       UINT vector4fCount) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantF(UINT startRegister, float* pConstantData,
                                                       UINT vector4fCount) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantI(UINT startRegister, const int* pConstantData,
                                                       UINT vector4iCount) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantI(UINT startRegister, int* pConstantData,
                                                       UINT vector4iCount) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantB(UINT startRegister, const BOOL* pConstantData,
                                                       UINT boolCount) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantB(UINT startRegister, BOOL* pConstantData,
                                                       UINT boolCount) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT streamNumber, IDirect3DVertexBuffer9* pStreamData,
                                              UINT offsetInBytes, UINT stride) override;
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT streamNumber, IDirect3DVertexBuffer9** ppStreamData,
                                              UINT* pOffsetInBytes, UINT* pStride) override;
    HRESULT STDMETHODCALLTYPE SetStreamSourceFreq(UINT streamNumber, UINT setting) override;
    HRESULT STDMETHODCALLTYPE GetStreamSourceFreq(UINT streamNumber, UINT* pSetting) override;
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* pIndexData) override;
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9** ppIndexData) override;
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* pFunction,
                                                IDirect3DPixelShader9** ppShader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9* pShader) override;
    HRESULT STDMETHODCALLTYPE GetPixelShader(IDirect3DPixelShader9** ppShader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT startRegister, const float* pConstantData,
                                                      UINT vector4fCount) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantF(UINT startRegister, float* pConstantData,
                                                      UINT vector4fCount) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantI(UINT startRegister, const int* pConstantData,
                                                      UINT vector4iCount) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantI(UINT startRegister, int* pConstantData,
                                                      UINT vector4iCount) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantB(UINT startRegister, const BOOL* pConstantData,
                                                      UINT boolCount) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantB(UINT startRegister, BOOL* pConstantData,
                                                      UINT boolCount) override;
    HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT handle, const float* pNumSegs,
                                            const D3DRECTPATCH_INFO* pRectPatchInfo) override;
    HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT handle, const float* pNumSegs,
                                           const D3DTRIPATCH_INFO* pTriPatchInfo) override;
    HRESULT STDMETHODCALLTYPE DeletePatch(UINT handle) override;
    HRESULT STDMETHODCALLTYPE CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** ppQuery) override;

    // ---- Resources and bindings: what the drawing code reads -------------------------------------
    // Texture slots by Direct3D sampler number: stages 0 to 15, D3DDMAPSAMPLER, then the four vertex
    // samplers D3DVERTEXTEXTURESAMPLER0 to 3.
    static constexpr unsigned kTextureSlots = 21;
    static constexpr unsigned kStreams = 16;
    static constexpr unsigned kRenderTargets = 4;
    // The slot of a Direct3D sampler number, or -1 for a number that names no sampler.
    static int TextureSlot(DWORD sampler);

    struct StreamBinding {
        VertexBuffer* buffer = nullptr;
        UINT offset = 0;
        UINT stride = 0;
        UINT frequency = 1; // SetStreamSourceFreq's setting
    };
    // Null (or an empty binding) when nothing is bound.
    BaseTexture* BoundTexture(DWORD sampler) const;
    const StreamBinding& BoundStream(UINT stream) const;
    IndexBuffer* BoundIndices() const;

    // What the draws read: the declaration's input, or the FVF's (decoded once a format); the
    // streams they read (bit n: stream n).
    const VertexInput& CurrentInput() const;
    std::uint16_t StreamsRead() const;
    // The bytes of each vertex the current format or declaration reads from the stream.
    std::uint32_t VertexBytesRead(unsigned stream) const;

    // Bindings changed since the drawing code last cleared the bits: bit n is texture slot n.
    enum BindingDirtyBit : std::uint32_t {
        kDirtyTextures = (1u << kTextureSlots) - 1,
        kDirtyStreams = 1u << 21,
        kDirtyIndices = 1u << 22,
        kDirtyTargets = 1u << 23, // render targets or depth-stencil surface
    };
    std::uint32_t BindingDirtyBits() const { return bindingDirty_; }
    void ClearBindingDirtyBits(std::uint32_t bits) { bindingDirty_ &= ~bits; }

    // Binds the draw framebuffer (render targets 0 to 3 and the depth-stencil surface) for drawing.
    void BindRenderFramebuffer();

    // Caller-created D3DPOOL_DEFAULT resources alive now; Reset refuses while there are any.
    void CountDefaultResource(int change) { defaultResources_ += change; }

    // ---- Drawing and fixed-function state (device_state*.cpp, device_draw*.cpp) --------------------
    // The effect framework's separable GL programs for the draws that follow; 0 selects the
    // fixed-function program of that stage. The device sets vtr3_PositionFixup and vtr3_ClipPlanes
    // (shader_interface.h) on whichever vertex program draws. Callers hold the device's lock.
    void SetShaderPrograms(GLuint vertexProgram, GLuint pixelProgram);
    // Binds again the programs of the shader objects last given to SetVertexShader and SetPixelShader,
    // in place of an effect's.
    void BindApplicationShaders();
    // Direct3D 9's default render, stage, sampler and transform state and null shaders, as after
    // creation and Reset.
    void ResetDrawingState();

  private:
    Device(IDirect3D9* direct3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
           const D3DPRESENT_PARAMETERS& presentation);
    ~Device() override;

    HRESULT Initialize();
    HRESULT CreateImplicitSurfaces();
    // Brings the render targets' attachments and GL_FRAMEBUFFER_SRGB in line with
    // D3DRS_SRGBWRITEENABLE (for draws and clears).
    void ApplySrgbWrite();
    // Attaches the current render target and depth-stencil surface to the draw framebuffer.
    void AttachTargets();
    // The clear area in render-target pixels: the viewport, cut to the target.
    bool ViewportRect(D3DRECT* rect) const;
    // `shared`: every bound surface has the size of render target 0 (TargetsShareSize).
    void ClearRect(const D3DRECT& rect, bool shared, DWORD flags, const float color[4], float z,
                   DWORD stencil);
    // Whether every bound render target and the depth-stencil surface have render target 0's size.
    bool TargetsShareSize() const;
    // The two framebuffers of copies and single-surface clears, created at first use.
    void CreateCopyFramebuffers();

    std::unique_ptr<egl::GlContext> context_;
    const bool multithreaded_;
    std::recursive_mutex mutex_;
    int lockDepth_ = 0; // guarded by mutex_
    GlStateCache gl_;
    Query* buildingOcclusion_ = nullptr;
    com::Ref<IDirect3D9> direct3d_;
    D3DDEVICE_CREATION_PARAMETERS creation_;
    D3DPRESENT_PARAMETERS presentation_;
    D3DCAPS9 caps_{};
    D3DGAMMARAMP gammaRamp_{};

    com::PrivateRef<Surface> backBuffer_;
    com::PrivateRef<Surface> autoDepthStencil_;
    com::PrivateRef<Surface> renderTarget_;
    com::PrivateRef<Surface> depthStencil_;
    GLuint drawFramebuffer_ = 0;
    GLuint readFramebuffer_ = 0;

    D3DVIEWPORT9 viewport_{};
    bool inScene_ = false;

    // ---- Resources and bindings (device_resources.cpp, device_bindings.cpp, device_copy.cpp) -----
    // Render targets 1 to 3; target 0 is renderTarget_.
    com::PrivateRef<Surface> extraRenderTargets_[kRenderTargets - 1];
    BaseTexture* textures_[kTextureSlots] = {};
    StreamBinding streams_[kStreams];
    IndexBuffer* indices_ = nullptr;
    com::PrivateRef<VertexDeclaration> declaration_;
    com::PrivateRef<VertexDeclaration> fvfDeclaration_; // what GetVertexDeclaration gives for the FVF
    std::uint32_t bindingDirty_ = ~0u;
    bool srgbWrite_ = false; // the render targets are attached as their sRGB views
    int defaultResources_ = 0;
    // Framebuffers of StretchRect, made on first use.
    GLuint copyReadFramebuffer_ = 0;
    GLuint copyDrawFramebuffer_ = 0;

    void ReleaseBindings();
    HRESULT CheckOwnSurface(IDirect3DSurface9* surface, Surface** own) const;

    // ---- Drawing and fixed-function state (device_state*.cpp, device_draw*.cpp) --------------------
    struct DrawCall;
    HRESULT InitializeDrawing();
    void ReleaseDrawing();
    HRESULT Draw(const DrawCall& call);
    // Whether every stream the draws read has a buffer holding vertices 0 to endVertex - 1.
    // Whether the streams read hold vertices up to endVertex; with instances, streams of instance data
    // hold the elements those instances read instead.
    bool StreamsHold(std::uint64_t endVertex, UINT instances = 0) const;
    // The instances an indexed draw makes (stream 0's D3DSTREAMSOURCE_INDEXEDDATA count, else 1), and
    // the divisor of a stream's attributes in them (0: per vertex).
    UINT InstanceCount() const;
    UINT InstanceDivisor(unsigned stream) const;
    bool PrepareDraw(UINT stride);
    void BindTextures();
    std::unique_ptr<DeviceState> state_;
    std::unique_ptr<DrawPath> drawPath_;
};

// Holds the device's lock for a scope when the device was created with D3DCREATE_MULTITHREADED;
// otherwise costs one branch. Null is allowed: an effect on a device that is not the platform's.
class DeviceLock {
  public:
    explicit DeviceLock(Device* device) : device_(device && device->Multithreaded() ? device : nullptr) {
        if (device_)
            device_->Lock();
    }
    ~DeviceLock() {
        if (device_)
            device_->Unlock();
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

  private:
    Device* device_;
};

} // namespace platform::device

#endif
