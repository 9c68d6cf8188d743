// ID3DXEffect over the effect framework: parameters with their values, techniques and passes, the
// GL programs of each pass, validation against the device's caps, and Begin/BeginPass/End applying
// the passes' states through the device's own setters (so that they can be saved and restored).
//
// Files: effect.cpp (creation, handles, descriptions, techniques, validation), effect_values.cpp
// (Set/Get of parameter values), effect_programs.cpp (GL programs and uniform upload),
// effect_passes.cpp (Begin, BeginPass, CommitChanges, EndPass, End), effect_pool.cpp (pools, shared
// parameters), effect_clone.cpp, effect_state_manager.cpp, effect_unsupported.cpp.
#ifndef VTR3_PLATFORM_FX_EFFECT_H
#define VTR3_PLATFORM_FX_EFFECT_H

#include "com/com_object.h"
#include "com/com_ref.h"
#include "device/gl_api.h"
#include "fx/device_states.h"
#include "fx/effect_build.h"
#include "fx/effect_pool.h"
#include "fx/effect_states.h"
#include "fx/state_expression.h"

#include <d3dx9.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::com {
template <> struct InterfaceIds<ID3DXEffect> {
    static bool Contains(REFIID riid) {
        return IsEqualGUID(riid, IID_ID3DXEffect) || IsEqualGUID(riid, IID_ID3DXBaseEffect);
    }
};
} // namespace platform::com

namespace platform::device {
class Device;
}

namespace platform::fx {

// A number as a parameter's word: a float's bits, a bool's 0 or 1, an int truncated.
std::uint32_t FloatWord(float f, D3DXPARAMETER_TYPE type);

class Effect final : public com::ComObject<ID3DXEffect> {
  public:
    // Takes the built effect; creates and links the GL programs on the device's context. Shared
    // parameters join the pool's values (D3DERR_INVALIDCALL when one's type differs from the pool's).
    static HRESULT Create(IDirect3DDevice9* device, BuiltEffect built, Effect** effect,
                          ID3DXEffectPool* pool = nullptr, DWORD flags = 0);

    // ID3DXBaseEffect
    HRESULT STDMETHODCALLTYPE GetDesc(D3DXEFFECT_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE GetParameterDesc(D3DXHANDLE hParameter, D3DXPARAMETER_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE GetTechniqueDesc(D3DXHANDLE hTechnique, D3DXTECHNIQUE_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE GetPassDesc(D3DXHANDLE hPass, D3DXPASS_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE GetFunctionDesc(D3DXHANDLE hShader, D3DXFUNCTION_DESC* pDesc) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameter(D3DXHANDLE hParameter, UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameterByName(D3DXHANDLE hParameter, LPCSTR pName) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameterBySemantic(D3DXHANDLE hParameter, LPCSTR pSemantic) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameterElement(D3DXHANDLE hParameter, UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetTechnique(UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetTechniqueByName(LPCSTR pName) override;
    D3DXHANDLE STDMETHODCALLTYPE GetPass(D3DXHANDLE hTechnique, UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetPassByName(D3DXHANDLE hTechnique, LPCSTR pName) override;
    D3DXHANDLE STDMETHODCALLTYPE GetFunction(UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetFunctionByName(LPCSTR pName) override;
    D3DXHANDLE STDMETHODCALLTYPE GetAnnotation(D3DXHANDLE hObject, UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetAnnotationByName(D3DXHANDLE hObject, LPCSTR pName) override;
    HRESULT STDMETHODCALLTYPE SetValue(D3DXHANDLE hParameter, LPCVOID pData, UINT Bytes) override;
    HRESULT STDMETHODCALLTYPE GetValue(D3DXHANDLE hParameter, LPVOID pData, UINT Bytes) override;
    HRESULT STDMETHODCALLTYPE SetBool(D3DXHANDLE hParameter, BOOL b) override;
    HRESULT STDMETHODCALLTYPE GetBool(D3DXHANDLE hParameter, BOOL* pb) override;
    HRESULT STDMETHODCALLTYPE SetBoolArray(D3DXHANDLE hParameter, CONST BOOL* pb, UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetBoolArray(D3DXHANDLE hParameter, BOOL* pb, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetInt(D3DXHANDLE hParameter, INT n) override;
    HRESULT STDMETHODCALLTYPE GetInt(D3DXHANDLE hParameter, INT* pn) override;
    HRESULT STDMETHODCALLTYPE SetIntArray(D3DXHANDLE hParameter, CONST INT* pn, UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetIntArray(D3DXHANDLE hParameter, INT* pn, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetFloat(D3DXHANDLE hParameter, FLOAT f) override;
    HRESULT STDMETHODCALLTYPE GetFloat(D3DXHANDLE hParameter, FLOAT* pf) override;
    HRESULT STDMETHODCALLTYPE SetFloatArray(D3DXHANDLE hParameter, CONST FLOAT* pf, UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetFloatArray(D3DXHANDLE hParameter, FLOAT* pf, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetVector(D3DXHANDLE hParameter, CONST D3DXVECTOR4* pVector) override;
    HRESULT STDMETHODCALLTYPE GetVector(D3DXHANDLE hParameter, D3DXVECTOR4* pVector) override;
    HRESULT STDMETHODCALLTYPE SetVectorArray(D3DXHANDLE hParameter, CONST D3DXVECTOR4* pVector,
                                             UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetVectorArray(D3DXHANDLE hParameter, D3DXVECTOR4* pVector,
                                             UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetMatrix(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE GetMatrix(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetMatrixArray(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix,
                                             UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetMatrixArray(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetMatrixPointerArray(D3DXHANDLE hParameter, CONST D3DXMATRIX** ppMatrix,
                                                    UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetMatrixPointerArray(D3DXHANDLE hParameter, D3DXMATRIX** ppMatrix,
                                                    UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetMatrixTranspose(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE GetMatrixTranspose(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetMatrixTransposeArray(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix,
                                                      UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetMatrixTransposeArray(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix,
                                                      UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetMatrixTransposePointerArray(D3DXHANDLE hParameter,
                                                             CONST D3DXMATRIX** ppMatrix,
                                                             UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetMatrixTransposePointerArray(D3DXHANDLE hParameter, D3DXMATRIX** ppMatrix,
                                                             UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetString(D3DXHANDLE hParameter, LPCSTR pString) override;
    HRESULT STDMETHODCALLTYPE GetString(D3DXHANDLE hParameter, LPCSTR* ppString) override;
    HRESULT STDMETHODCALLTYPE SetTexture(D3DXHANDLE hParameter, LPDIRECT3DBASETEXTURE9 pTexture) override;
    HRESULT STDMETHODCALLTYPE GetTexture(D3DXHANDLE hParameter, LPDIRECT3DBASETEXTURE9* ppTexture) override;
    HRESULT STDMETHODCALLTYPE GetPixelShader(D3DXHANDLE hParameter,
                                             LPDIRECT3DPIXELSHADER9* ppPShader) override;
    HRESULT STDMETHODCALLTYPE GetVertexShader(D3DXHANDLE hParameter,
                                              LPDIRECT3DVERTEXSHADER9* ppVShader) override;
    HRESULT STDMETHODCALLTYPE SetArrayRange(D3DXHANDLE hParameter, UINT uStart, UINT uEnd) override;

    // ID3DXEffect
    HRESULT STDMETHODCALLTYPE GetPool(LPD3DXEFFECTPOOL* ppPool) override;
    HRESULT STDMETHODCALLTYPE SetTechnique(D3DXHANDLE hTechnique) override;
    D3DXHANDLE STDMETHODCALLTYPE GetCurrentTechnique() override;
    HRESULT STDMETHODCALLTYPE ValidateTechnique(D3DXHANDLE hTechnique) override;
    HRESULT STDMETHODCALLTYPE FindNextValidTechnique(D3DXHANDLE hTechnique, D3DXHANDLE* pTechnique) override;
    BOOL STDMETHODCALLTYPE IsParameterUsed(D3DXHANDLE hParameter, D3DXHANDLE hTechnique) override;
    HRESULT STDMETHODCALLTYPE Begin(UINT* pPasses, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE BeginPass(UINT Pass) override;
    HRESULT STDMETHODCALLTYPE CommitChanges() override;
    HRESULT STDMETHODCALLTYPE EndPass() override;
    HRESULT STDMETHODCALLTYPE End() override;
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) override;
    HRESULT STDMETHODCALLTYPE OnLostDevice() override;
    HRESULT STDMETHODCALLTYPE OnResetDevice() override;
    HRESULT STDMETHODCALLTYPE SetStateManager(LPD3DXEFFECTSTATEMANAGER pManager) override;
    HRESULT STDMETHODCALLTYPE GetStateManager(LPD3DXEFFECTSTATEMANAGER* ppManager) override;
    HRESULT STDMETHODCALLTYPE BeginParameterBlock() override;
    D3DXHANDLE STDMETHODCALLTYPE EndParameterBlock() override;
    HRESULT STDMETHODCALLTYPE ApplyParameterBlock(D3DXHANDLE hParameterBlock) override;
    HRESULT STDMETHODCALLTYPE DeleteParameterBlock(D3DXHANDLE hParameterBlock) override;
    HRESULT STDMETHODCALLTYPE CloneEffect(LPDIRECT3DDEVICE9 pDevice, LPD3DXEFFECT* ppEffect) override;
    HRESULT STDMETHODCALLTYPE SetRawValue(D3DXHANDLE hParameter, LPCVOID pData, UINT ByteOffset,
                                          UINT Bytes) override;

    // For tests: the GL programs of a pass (0 for a fixed-function stage).
    bool PassPrograms(UINT technique, UINT pass, GLuint* vertex, GLuint* pixel) const;

  private:
    // A parameter and its value (the pool's for a shared parameter). Matrices are kept as D3DX writes
    // them, row after row (rows x columns of the HLSL type).
    struct ParameterSlot {
        Parameter desc;
        std::shared_ptr<ParameterValue> value;
    };

    struct UniformBinding {
        int parameter = -1;
        GLint location = -1;
        GLenum type = 0;
        GLint count = 1; // array elements
        std::uint32_t uploaded = 0;
        std::vector<std::uint32_t> scratch; // the converted words, sized once at link time
    };

    struct StageProgram {
        GLuint program = 0;
        int shaderModel = 0;
        int registers = 0;
        bool linked = true;
        std::vector<UniformBinding> uniforms;
    };

    struct SamplerBinding {
        int parameter = -1;
        DWORD unit = 0;
    };

    struct PassState {
        StateKind kind = StateKind::Render;
        DWORD id = 0;
        DWORD index = 0;
        ValueType type = ValueType::Dword;
        DWORD value = 0;
        int parameter = -1;   // a value read from a parameter
        int expression = -1;  // a value computed from parameters: index into expressions_
        float vector[4] = {}; // ValueType::Vector literals
    };

    struct RuntimePass {
        std::string name;
        StageProgram vertex;
        StageProgram pixel;
        bool vertexPresent = false;
        bool pixelPresent = false;
        std::vector<SamplerBinding> samplers;
        std::vector<PassState> states;
        // A stage chosen from an array of shaders by a parameter: the programs not chosen wait in
        // `choices` (the chosen one's slot holds an empty program), so choosing moves, never allocates.
        struct Choices {
            std::vector<StageProgram> programs;
            int selector = -1; // the parameter
            int chosen = 0;
        };
        Choices vertexChoices;
        Choices pixelChoices;
    };

    struct RuntimeTechnique {
        std::string name;
        std::vector<RuntimePass> passes;
    };

    // A device state that Begin saved, to be put back by End.
    struct SavedState {
        StateKind kind = StateKind::Render;
        DWORD id = 0;
        DWORD index = 0;
        DWORD value = 0;
        IDirect3DBaseTexture9* texture = nullptr; // a reference GetTexture gave
        D3DMATRIX matrix{};
        D3DLIGHT9 light{};
        D3DMATERIAL9 material{};
        bool valid = false; // GetLight succeeded (a light never set cannot be put back)
    };

    explicit Effect(IDirect3DDevice9* device);
    ~Effect() override;

    static HRESULT Create(IDirect3DDevice9* device, std::shared_ptr<const BuiltEffect> built,
                          ID3DXEffectPool* pool, DWORD flags, Effect** effect);
    HRESULT Initialize(std::shared_ptr<const BuiltEffect> built, ID3DXEffectPool* pool, DWORD flags);
    void BuildPass(const EffectModel& model, const Pass& pass, const CompiledPass& compiled,
                   RuntimePass* out);
    void BuildStates(const Pass& pass, RuntimePass* out);
    // A state assignment with its value resolved now (literal) or at draw time (parameter).
    bool ResolveAssignment(const StateAssignment& assignment, bool inSampler, PassState* state);
    // The value a state takes now: its literal, its parameter's or its expression's.
    DWORD CurrentValue(const PassState& state) const;
    // A ValueType::Vector or Float state's value as four floats.
    void CurrentVector(const PassState& state, float out[4]) const;
    // The light and material fields of a pass, gathered per light so that one SetLight sees them all.
    void ApplyLightsAndMaterial(const RuntimePass& pass);
    bool LinkStage(const CompiledStage& stage, ShaderStage kind, StageProgram* out);
    void BindSamplers(const CompiledStage& vertex, const CompiledStage& pixel, RuntimePass* out);
    void LinkChoices(const std::vector<CompiledStage>& compiled, const std::string& selector,
                     ShaderStage kind, RuntimePass* out);
    static void Choose(RuntimePass::Choices* choices, StageProgram* current, int k);
    void ChooseBySelectors(RuntimePass* pass) const;
    void PrepareSaveList(const RuntimeTechnique& technique);
    void DeletePrograms();

    // Handles are addresses inside handles_: parameters first, then techniques, then passes.
    D3DXHANDLE ParameterHandle(int index) const;
    D3DXHANDLE TechniqueHandle(int index) const;
    D3DXHANDLE PassHandle(int technique, int pass) const;
    int FindParameter(D3DXHANDLE handle) const;
    int FindTechnique(D3DXHANDLE handle) const;
    bool FindPass(D3DXHANDLE handle, int* technique, int* pass) const;
    int FindParameterByName(const char* name) const;

    HRESULT Validate(int technique) const;

    static std::size_t WordCount(const Parameter& p);
    void AddViews();
    void AddChildren(int self, int root, std::size_t offset);
    // A slot's words: a root parameter's own; a numeric view's (struct member, array element) lie at
    // its offset in its root's, which it shares rather than copies, so every view reads the last write.
    struct WordSpan {
        std::uint32_t* data = nullptr;
        std::size_t size = 0;
    };
    WordSpan Words(int index) const;
    int FindPath(const char* name) const; // "s.member", "a[2]", "s[1].m"
    int Child(D3DXHANDLE parent, UINT index, bool element) const;
    UINT StructMembers(int index) const;
    // Binds the leaf members of a struct uniform (GL names "block.s.member") to their views.
    void BindStructMembers(int parameter, const std::string& prefix, StageProgram* out);

    void AddAnnotations(const EffectModel& model);
    int AnnotatedOffset(D3DXHANDLE handle) const; // offset in handles_ of a handle or name, or -1
    int AnnotationCount(int offset) const;

    // Writes count words (converted to the parameter's type) at the offset; D3DERR_INVALIDCALL when
    // the handle is unknown. Nothing changes on failure.
    HRESULT WriteFloats(D3DXHANDLE handle, const float* values, UINT count, UINT offset = 0);
    HRESULT WriteInts(D3DXHANDLE handle, const INT* values, UINT count);
    HRESULT ReadFloats(D3DXHANDLE handle, float* values, UINT count) const;
    HRESULT ReadInts(D3DXHANDLE handle, INT* values, UINT count) const;
    HRESULT WriteMatrices(D3DXHANDLE handle, const D3DXMATRIX* const* matrices, UINT count, bool transpose);
    HRESULT ReadMatrices(D3DXHANDLE handle, D3DXMATRIX* matrices, UINT count, bool transpose) const;
    // The array and pointer-array forms of the matrix setters and getters, plain or transposed.
    HRESULT WriteMatrixArray(D3DXHANDLE handle, const D3DXMATRIX* matrices, UINT count, bool transpose);
    HRESULT ReadMatrixPointers(D3DXHANDLE handle, D3DXMATRIX** matrices, UINT count, bool transpose) const;

    void UploadUniforms(StageProgram* stage);
    void ApplyPass(RuntimePass* pass);
    void ApplyShaderConstant(const PassState& state, ID3DXEffectStateManager* states);
    void ApplySampler(int parameter, DWORD unit);
    DWORD ParameterDword(int parameter, ValueType type) const;
    void SetPrograms(GLuint vertex, GLuint pixel);
    void ReleaseSavedShaders();
    // Where pass states go: the caller's state manager, else the device.
    ID3DXEffectStateManager* States();
    void TellManagerShaders(bool vertex, bool pixel);

    com::Ref<IDirect3DDevice9> device_;
    com::Ref<ID3DXEffectPool> pool_;
    std::shared_ptr<const BuiltEffect> built_; // kept for CloneEffect (null with D3DXFX_NOT_CLONEABLE)
    DWORD flags_ = 0;
    DeviceStates deviceStates_;
    com::Ref<ID3DXEffectStateManager> manager_;
    device::Device* platformDevice_ = nullptr; // null for a device that neither is nor wraps the platform's
    std::vector<ParameterSlot> parameters_;
    // Struct members and array elements (effect_members.cpp), per slot: where it sits in its root
    // parameter's words, its children, and its full name ("s.member", "a[2]").
    struct Range {
        int first = 0;
        int count = 0;
    };
    struct SlotTree {
        int root = -1; // -1: a root parameter (or an annotation)
        std::size_t offset = 0;
        std::size_t words = 0; // a view's
        Range members;
        Range elements;
        Range views; // a root's: every slot below it
        std::string path;
    };
    std::vector<SlotTree> tree_;
    std::uint64_t viewBytes_ = 0;  // of the views so far (effect_members.cpp)
    int parameterCount_ = 0;       // the effect's parameters; annotation slots follow
    std::vector<bool> joinedPool_; // per parameter: it took a value that the pool already held
    // Annotation slots follow the effect's parameters in parameters_ (effect_annotations.cpp): per
    // handle offset, the slot index of the first annotation and their count.
    std::vector<Range> annotationRanges_;
    std::vector<RuntimeTechnique> techniques_;
    std::vector<FunctionInfo> functions_;
    std::vector<char> handles_;
    std::vector<int> passHandleBase_; // per technique: index of its first pass handle
    int currentTechnique_ = -1;
    bool begun_ = false;
    bool saveState_ = false;
    // The application's shaders at Begin, given back at End (not with D3DXFX_DONOTSAVESHADERSTATE).
    IDirect3DVertexShader9* savedVertexShader_ = nullptr;
    IDirect3DPixelShader9* savedPixelShader_ = nullptr;
    int activePass_ = -1;
    std::vector<SavedState> saved_; // sized for the current technique, so Begin allocates nothing
    std::vector<std::vector<PassState>> samplerStates_; // per parameter: its sampler_state block
    std::vector<StateExpression> expressions_;
};

} // namespace platform::fx

#endif
