// D3DX 9 effects: descriptions, flags, ID3DXEffectPool, ID3DXBaseEffect, ID3DXEffectStateManager,
// ID3DXEffect and the creation functions, in the layout of D3DX 9 version 43.
#ifndef VTR3_PLATFORM_D3DX9EFFECT_H
#define VTR3_PLATFORM_D3DX9EFFECT_H

#include <d3dx9math.h>
#include <d3dx9shader.h>

// The platform library is built with hidden visibility: what this header declares is its API.
#pragma GCC visibility push(default)

// Begin flags: which device state the effect leaves alone.
#define D3DXFX_DONOTSAVESTATE (1 << 0)
#define D3DXFX_DONOTSAVESHADERSTATE (1 << 1)
#define D3DXFX_DONOTSAVESAMPLERSTATE (1 << 2)
// Creation flags.
#define D3DXFX_NOT_CLONEABLE (1 << 11)
#define D3DXFX_LARGEADDRESSAWARE (1 << 17)

#define D3DX_PARAMETER_SHARED 1
#define D3DX_PARAMETER_LITERAL 2
#define D3DX_PARAMETER_ANNOTATION 4

typedef struct _D3DXEFFECT_DESC {
    LPCSTR Creator;
    UINT Parameters;
    UINT Techniques;
    UINT Functions;
} D3DXEFFECT_DESC;

typedef struct _D3DXPARAMETER_DESC {
    LPCSTR Name;
    LPCSTR Semantic;
    D3DXPARAMETER_CLASS Class;
    D3DXPARAMETER_TYPE Type;
    UINT Rows;
    UINT Columns;
    UINT Elements;
    UINT Annotations;
    UINT StructMembers;
    DWORD Flags;
    UINT Bytes;
} D3DXPARAMETER_DESC;

typedef struct _D3DXTECHNIQUE_DESC {
    LPCSTR Name;
    UINT Passes;
    UINT Annotations;
} D3DXTECHNIQUE_DESC;

typedef struct _D3DXPASS_DESC {
    LPCSTR Name;
    UINT Annotations;
    CONST DWORD* pVertexShaderFunction;
    CONST DWORD* pPixelShaderFunction;
} D3DXPASS_DESC;

typedef struct _D3DXFUNCTION_DESC {
    LPCSTR Name;
    UINT Annotations;
} D3DXFUNCTION_DESC;

extern "C" const GUID IID_ID3DXEffectPool;
extern "C" const GUID IID_ID3DXBaseEffect;
extern "C" const GUID IID_ID3DXEffectStateManager;
extern "C" const GUID IID_ID3DXEffect;

struct ID3DXEffectPool;
struct ID3DXBaseEffect;
struct ID3DXEffectStateManager;
struct ID3DXEffect;
typedef struct ID3DXEffectPool *LPD3DXEFFECTPOOL, *PD3DXEFFECTPOOL;
typedef struct ID3DXBaseEffect *LPD3DXBASEEFFECT, *PD3DXBASEEFFECT;
typedef struct ID3DXEffectStateManager *LPD3DXEFFECTSTATEMANAGER, *PD3DXEFFECTSTATEMANAGER;
typedef struct ID3DXEffect *LPD3DXEFFECT, *PD3DXEFFECT;

// Shares parameters marked "shared" between the effects created with it.
struct ID3DXEffectPool : public IUnknown {};

struct ID3DXBaseEffect : public IUnknown {
    virtual HRESULT GetDesc(D3DXEFFECT_DESC* pDesc) = 0;
    virtual HRESULT GetParameterDesc(D3DXHANDLE hParameter, D3DXPARAMETER_DESC* pDesc) = 0;
    virtual HRESULT GetTechniqueDesc(D3DXHANDLE hTechnique, D3DXTECHNIQUE_DESC* pDesc) = 0;
    virtual HRESULT GetPassDesc(D3DXHANDLE hPass, D3DXPASS_DESC* pDesc) = 0;
    virtual HRESULT GetFunctionDesc(D3DXHANDLE hShader, D3DXFUNCTION_DESC* pDesc) = 0;
    virtual D3DXHANDLE GetParameter(D3DXHANDLE hParameter, UINT Index) = 0;
    virtual D3DXHANDLE GetParameterByName(D3DXHANDLE hParameter, LPCSTR pName) = 0;
    virtual D3DXHANDLE GetParameterBySemantic(D3DXHANDLE hParameter, LPCSTR pSemantic) = 0;
    virtual D3DXHANDLE GetParameterElement(D3DXHANDLE hParameter, UINT Index) = 0;
    virtual D3DXHANDLE GetTechnique(UINT Index) = 0;
    virtual D3DXHANDLE GetTechniqueByName(LPCSTR pName) = 0;
    virtual D3DXHANDLE GetPass(D3DXHANDLE hTechnique, UINT Index) = 0;
    virtual D3DXHANDLE GetPassByName(D3DXHANDLE hTechnique, LPCSTR pName) = 0;
    virtual D3DXHANDLE GetFunction(UINT Index) = 0;
    virtual D3DXHANDLE GetFunctionByName(LPCSTR pName) = 0;
    virtual D3DXHANDLE GetAnnotation(D3DXHANDLE hObject, UINT Index) = 0;
    virtual D3DXHANDLE GetAnnotationByName(D3DXHANDLE hObject, LPCSTR pName) = 0;
    virtual HRESULT SetValue(D3DXHANDLE hParameter, LPCVOID pData, UINT Bytes) = 0;
    virtual HRESULT GetValue(D3DXHANDLE hParameter, LPVOID pData, UINT Bytes) = 0;
    virtual HRESULT SetBool(D3DXHANDLE hParameter, BOOL b) = 0;
    virtual HRESULT GetBool(D3DXHANDLE hParameter, BOOL* pb) = 0;
    virtual HRESULT SetBoolArray(D3DXHANDLE hParameter, CONST BOOL* pb, UINT Count) = 0;
    virtual HRESULT GetBoolArray(D3DXHANDLE hParameter, BOOL* pb, UINT Count) = 0;
    virtual HRESULT SetInt(D3DXHANDLE hParameter, INT n) = 0;
    virtual HRESULT GetInt(D3DXHANDLE hParameter, INT* pn) = 0;
    virtual HRESULT SetIntArray(D3DXHANDLE hParameter, CONST INT* pn, UINT Count) = 0;
    virtual HRESULT GetIntArray(D3DXHANDLE hParameter, INT* pn, UINT Count) = 0;
    virtual HRESULT SetFloat(D3DXHANDLE hParameter, FLOAT f) = 0;
    virtual HRESULT GetFloat(D3DXHANDLE hParameter, FLOAT* pf) = 0;
    virtual HRESULT SetFloatArray(D3DXHANDLE hParameter, CONST FLOAT* pf, UINT Count) = 0;
    virtual HRESULT GetFloatArray(D3DXHANDLE hParameter, FLOAT* pf, UINT Count) = 0;
    virtual HRESULT SetVector(D3DXHANDLE hParameter, CONST D3DXVECTOR4* pVector) = 0;
    virtual HRESULT GetVector(D3DXHANDLE hParameter, D3DXVECTOR4* pVector) = 0;
    virtual HRESULT SetVectorArray(D3DXHANDLE hParameter, CONST D3DXVECTOR4* pVector, UINT Count) = 0;
    virtual HRESULT GetVectorArray(D3DXHANDLE hParameter, D3DXVECTOR4* pVector, UINT Count) = 0;
    virtual HRESULT SetMatrix(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT GetMatrix(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT SetMatrixArray(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT GetMatrixArray(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT SetMatrixPointerArray(D3DXHANDLE hParameter, CONST D3DXMATRIX** ppMatrix, UINT Count) = 0;
    virtual HRESULT GetMatrixPointerArray(D3DXHANDLE hParameter, D3DXMATRIX** ppMatrix, UINT Count) = 0;
    virtual HRESULT SetMatrixTranspose(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT GetMatrixTranspose(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT SetMatrixTransposeArray(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT GetMatrixTransposeArray(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT SetMatrixTransposePointerArray(D3DXHANDLE hParameter, CONST D3DXMATRIX** ppMatrix,
                                                   UINT Count) = 0;
    virtual HRESULT GetMatrixTransposePointerArray(D3DXHANDLE hParameter, D3DXMATRIX** ppMatrix,
                                                   UINT Count) = 0;
    virtual HRESULT SetString(D3DXHANDLE hParameter, LPCSTR pString) = 0;
    virtual HRESULT GetString(D3DXHANDLE hParameter, LPCSTR* ppString) = 0;
    virtual HRESULT SetTexture(D3DXHANDLE hParameter, LPDIRECT3DBASETEXTURE9 pTexture) = 0;
    virtual HRESULT GetTexture(D3DXHANDLE hParameter, LPDIRECT3DBASETEXTURE9* ppTexture) = 0;
    virtual HRESULT GetPixelShader(D3DXHANDLE hParameter, LPDIRECT3DPIXELSHADER9* ppPShader) = 0;
    virtual HRESULT GetVertexShader(D3DXHANDLE hParameter, LPDIRECT3DVERTEXSHADER9* ppVShader) = 0;
    virtual HRESULT SetArrayRange(D3DXHANDLE hParameter, UINT uStart, UINT uEnd) = 0;
};

// Lets the caller take over the device calls an effect makes while it applies its passes.
struct ID3DXEffectStateManager : public IUnknown {
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) = 0;
    virtual HRESULT SetMaterial(CONST D3DMATERIAL9* pMaterial) = 0;
    virtual HRESULT SetLight(DWORD Index, CONST D3DLIGHT9* pLight) = 0;
    virtual HRESULT LightEnable(DWORD Index, BOOL Enable) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) = 0;
    virtual HRESULT SetTexture(DWORD Stage, LPDIRECT3DBASETEXTURE9 pTexture) = 0;
    virtual HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) = 0;
    virtual HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) = 0;
    virtual HRESULT SetNPatchMode(FLOAT NumSegments) = 0;
    virtual HRESULT SetFVF(DWORD FVF) = 0;
    virtual HRESULT SetVertexShader(LPDIRECT3DVERTEXSHADER9 pShader) = 0;
    virtual HRESULT SetVertexShaderConstantF(UINT RegisterIndex, CONST FLOAT* pConstantData,
                                             UINT RegisterCount) = 0;
    virtual HRESULT SetVertexShaderConstantI(UINT RegisterIndex, CONST INT* pConstantData,
                                             UINT RegisterCount) = 0;
    virtual HRESULT SetVertexShaderConstantB(UINT RegisterIndex, CONST BOOL* pConstantData,
                                             UINT RegisterCount) = 0;
    virtual HRESULT SetPixelShader(LPDIRECT3DPIXELSHADER9 pShader) = 0;
    virtual HRESULT SetPixelShaderConstantF(UINT RegisterIndex, CONST FLOAT* pConstantData,
                                            UINT RegisterCount) = 0;
    virtual HRESULT SetPixelShaderConstantI(UINT RegisterIndex, CONST INT* pConstantData,
                                            UINT RegisterCount) = 0;
    virtual HRESULT SetPixelShaderConstantB(UINT RegisterIndex, CONST BOOL* pConstantData,
                                            UINT RegisterCount) = 0;
};

struct ID3DXEffect : public ID3DXBaseEffect {
    virtual HRESULT GetPool(LPD3DXEFFECTPOOL* ppPool) = 0;
    virtual HRESULT SetTechnique(D3DXHANDLE hTechnique) = 0;
    virtual D3DXHANDLE GetCurrentTechnique() = 0;
    virtual HRESULT ValidateTechnique(D3DXHANDLE hTechnique) = 0;
    virtual HRESULT FindNextValidTechnique(D3DXHANDLE hTechnique, D3DXHANDLE* pTechnique) = 0;
    virtual BOOL IsParameterUsed(D3DXHANDLE hParameter, D3DXHANDLE hTechnique) = 0;
    virtual HRESULT Begin(UINT* pPasses, DWORD Flags) = 0;
    virtual HRESULT BeginPass(UINT Pass) = 0;
    virtual HRESULT CommitChanges() = 0;
    virtual HRESULT EndPass() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT GetDevice(LPDIRECT3DDEVICE9* ppDevice) = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
    virtual HRESULT SetStateManager(LPD3DXEFFECTSTATEMANAGER pManager) = 0;
    virtual HRESULT GetStateManager(LPD3DXEFFECTSTATEMANAGER* ppManager) = 0;
    virtual HRESULT BeginParameterBlock() = 0;
    virtual D3DXHANDLE EndParameterBlock() = 0;
    virtual HRESULT ApplyParameterBlock(D3DXHANDLE hParameterBlock) = 0;
    virtual HRESULT DeleteParameterBlock(D3DXHANDLE hParameterBlock) = 0;
    virtual HRESULT CloneEffect(LPDIRECT3DDEVICE9 pDevice, LPD3DXEFFECT* ppEffect) = 0;
    virtual HRESULT SetRawValue(D3DXHANDLE hParameter, LPCVOID pData, UINT ByteOffset, UINT Bytes) = 0;
};

extern "C" {
HRESULT WINAPI D3DXCreateEffectPool(LPD3DXEFFECTPOOL* ppPool);

HRESULT WINAPI D3DXCreateEffectFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                         CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                         LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                         LPD3DXBUFFER* ppCompilationErrors);
HRESULT WINAPI D3DXCreateEffectFromFileExA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                           CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude,
                                           LPCSTR pSkipConstants, DWORD Flags, LPD3DXEFFECTPOOL pPool,
                                           LPD3DXEFFECT* ppEffect, LPD3DXBUFFER* ppCompilationErrors);
// From effect text in memory.
HRESULT WINAPI D3DXCreateEffect(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData, UINT SrcDataLen,
                                CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                LPD3DXBUFFER* ppCompilationErrors);
HRESULT WINAPI D3DXCreateEffectEx(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData, UINT SrcDataLen,
                                  CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, LPCSTR pSkipConstants,
                                  DWORD Flags, LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                  LPD3DXBUFFER* ppCompilationErrors);
}

#define D3DXCreateEffectFromFile D3DXCreateEffectFromFileA
#define D3DXCreateEffectFromFileEx D3DXCreateEffectFromFileExA

#pragma GCC visibility pop

#endif
