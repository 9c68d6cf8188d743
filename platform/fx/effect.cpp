#include "fx/effect.h"

#include "device/device.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <strings.h>

namespace platform::fx {
namespace {

// Pixel shader constant registers by shader model: ps_2_x offers 32, ps_3_0 224 (caps do not say).
int PixelConstantLimit(int shaderModel) {
    return shaderModel >= 3 ? 224 : 32;
}

} // namespace

// The platform's device, also behind a wrapper that forwards to it (an engine may hand one out): its
// render target knows the device it belongs to.
static device::Device* PlatformDeviceOf(IDirect3DDevice9* device) {
    if (auto* platformDevice = dynamic_cast<device::Device*>(device)) {
        return platformDevice;
    }
    IDirect3DSurface9* target = nullptr;
    IDirect3DDevice9* owner = nullptr;
    if (device && SUCCEEDED(device->GetRenderTarget(0, &target)) && target) {
        if (FAILED(target->GetDevice(&owner))) {
            owner = nullptr;
        }
        target->Release();
    }
    if (!owner) {
        return nullptr;
    }
    auto* platformDevice = dynamic_cast<device::Device*>(owner);
    owner->Release(); // the wrapper holds the device as long as the effect may use it
    return platformDevice;
}

Effect::Effect(IDirect3DDevice9* device)
    : device_(device), deviceStates_(device), platformDevice_(PlatformDeviceOf(device)) {}

Effect::~Effect() {
    ReleaseSavedShaders();
    for (SavedState& s : saved_) {
        if (s.texture)
            s.texture->Release();
    }
    DeletePrograms();
}

HRESULT Effect::Create(IDirect3DDevice9* device, BuiltEffect built, Effect** effect, ID3DXEffectPool* pool,
                       DWORD flags) {
    *effect = nullptr;
    std::shared_ptr<const BuiltEffect> shared;
    try {
        shared = std::make_shared<const BuiltEffect>(std::move(built));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return Create(device, std::move(shared), pool, flags, effect);
}

HRESULT Effect::Create(IDirect3DDevice9* device, std::shared_ptr<const BuiltEffect> built,
                       ID3DXEffectPool* pool, DWORD flags, Effect** effect) {
    *effect = nullptr;
    if (pool && !PoolOf(pool))
        return D3DERR_INVALIDCALL; // a pool of another implementation holds no values of ours
    Effect* created = new (std::nothrow) Effect(device);
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    HRESULT result = E_OUTOFMEMORY;
    try {
        result = created->Initialize(std::move(built), pool, flags);
    } catch (...) {
        result = E_OUTOFMEMORY;
    }
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *effect = created;
    return D3D_OK;
}

HRESULT Effect::Initialize(std::shared_ptr<const BuiltEffect> built, ID3DXEffectPool* pool, DWORD flags) {
    const EffectModel& model = built->model;
    pool_ = com::Ref<ID3DXEffectPool>(pool);
    flags_ = flags;
    for (const Parameter& p : model.parameters) {
        ParameterSlot slot;
        slot.desc = p;
        slot.value = std::make_shared<ParameterValue>();
        slot.value->text = p.stringValue;
        if (p.cls != D3DXPC_OBJECT) {
            const std::size_t words = WordCount(p);
            slot.value->words.assign(words, 0);
            for (std::size_t i = 0; i < words && i < p.defaults.size(); ++i)
                slot.value->words[i] = FloatWord(p.defaults[i], p.type);
        }
        // A shared parameter already in the pool keeps the pool's value, not this effect's default.
        const ParameterValue* own = slot.value.get();
        if (p.shared && pool && !PoolOf(pool)->Share(p, &slot.value))
            return D3DERR_INVALIDCALL;
        joinedPool_.push_back(slot.value.get() != own);
        parameters_.push_back(std::move(slot));
    }
    parameterCount_ = static_cast<int>(parameters_.size());
    AddViews();
    AddAnnotations(model);
    functions_ = model.functions;
    samplerStates_.resize(parameters_.size());
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        for (const StateAssignment& a : parameters_[i].desc.samplerStates) {
            PassState s;
            if (ResolveAssignment(a, true, &s))
                samplerStates_[i].push_back(s);
        }
    }
    const device::DeviceLock lock(platformDevice_);
    if (platformDevice_ && !platformDevice_->MakeCurrent())
        return D3DERR_INVALIDCALL;
    std::size_t passCount = 0;
    for (std::size_t t = 0; t < model.techniques.size(); ++t) {
        RuntimeTechnique technique;
        technique.name = model.techniques[t].name;
        for (std::size_t p = 0; p < model.techniques[t].passes.size(); ++p) {
            RuntimePass pass;
            BuildPass(model, model.techniques[t].passes[p], built->passes[t][p], &pass);
            technique.passes.push_back(std::move(pass));
        }
        passHandleBase_.push_back(static_cast<int>(parameters_.size() + model.techniques.size() + passCount));
        passCount += technique.passes.size();
        techniques_.push_back(std::move(technique));
    }
    handles_.assign(parameters_.size() + techniques_.size() + passCount + 1, 0);
    if (!techniques_.empty())
        SetTechnique(TechniqueHandle(0));
    if (!(flags & D3DXFX_NOT_CLONEABLE))
        built_ = std::move(built);
    return D3D_OK;
}

void Effect::BuildPass(const EffectModel& model, const Pass& pass, const CompiledPass& compiled,
                       RuntimePass* out) {
    out->name = pass.name;
    out->vertexPresent = compiled.vertex.present;
    out->pixelPresent = compiled.pixel.present;
    if (compiled.vertex.present)
        out->vertex.linked = LinkStage(compiled.vertex, ShaderStage::Vertex, &out->vertex);
    if (compiled.pixel.present)
        out->pixel.linked = LinkStage(compiled.pixel, ShaderStage::Pixel, &out->pixel);
    BindSamplers(compiled.vertex, compiled.pixel, out);
    LinkChoices(compiled.vertexChoices, compiled.vertexSelector, ShaderStage::Vertex, out);
    LinkChoices(compiled.pixelChoices, compiled.pixelSelector, ShaderStage::Pixel, out);
    BuildStates(pass, out);
    (void)model;
}

bool Effect::ResolveAssignment(const StateAssignment& a, bool inSampler, PassState* s) {
    const StateInfo* info = FindState(a.name, inSampler);
    if (!info || info->kind == StateKind::VertexShader || info->kind == StateKind::PixelShader)
        return false;
    s->kind = info->kind;
    s->id = info->id;
    s->type = info->type;
    s->index = a.index < 0 ? 0 : static_cast<DWORD>(a.index);
    if (s->kind == StateKind::Transform && info->id == D3DTS_WORLD)
        s->id = D3DTS_WORLDMATRIX(s->index);
    else if (s->kind == StateKind::Transform && info->id == D3DTS_TEXTURE0)
        s->id = D3DTS_TEXTURE0 + s->index;
    switch (a.value.kind) {
    case StateValue::Kind::Reference:
        s->parameter = FindParameterByName(a.value.name.c_str());
        return s->parameter >= 0;
    case StateValue::Kind::Name: {
        std::string ignored;
        return ResolveNamedValue(info->type, a.value.name, &s->value, &ignored);
    }
    case StateValue::Kind::Number: {
        if (a.value.numbers.empty())
            return false;
        for (std::size_t k = 0; k < 4 && k < a.value.numbers.size(); ++k)
            s->vector[k] = static_cast<float>(a.value.numbers[k]);
        const double n = a.value.numbers[0];
        s->value = info->type == ValueType::Float ? NumberToState(info->type, static_cast<float>(n))
                   : n < 0                        ? static_cast<DWORD>(static_cast<long long>(n))
                                                  : static_cast<DWORD>(static_cast<unsigned long long>(n));
        return true;
    }
    case StateValue::Kind::Null:
        return true;
    case StateValue::Kind::Expression: {
        StateExpression e;
        std::string ignored;
        const auto lookup = [&](const std::string& name, int* parameter, double* constant) {
            *parameter = FindParameterByName(name.c_str());
            DWORD resolved = 0;
            if (*parameter < 0 && !ResolveNamedValue(info->type, name, &resolved, &ignored))
                return false;
            *constant = resolved;
            return true;
        };
        if (!CompileStateExpression(a.value.expression, lookup, &e, &ignored))
            return false;
        s->expression = static_cast<int>(expressions_.size());
        expressions_.push_back(std::move(e));
        return true;
    }
    default:
        return false;
    }
}

void Effect::BuildStates(const Pass& pass, RuntimePass* out) {
    for (const StateAssignment& a : pass.states) {
        PassState s;
        if (ResolveAssignment(a, false, &s))
            out->states.push_back(s);
    }
}

void Effect::LinkChoices(const std::vector<CompiledStage>& compiled, const std::string& selector,
                         ShaderStage kind, RuntimePass* out) {
    if (compiled.empty())
        return;
    const bool vertex = kind == ShaderStage::Vertex;
    RuntimePass::Choices& choices = vertex ? out->vertexChoices : out->pixelChoices;
    StageProgram& current = vertex ? out->vertex : out->pixel;
    choices.selector = FindParameterByName(selector.c_str());
    choices.programs.resize(compiled.size());
    choices.programs[0] = std::move(current); // linked by BuildPass as the first element
    current = StageProgram{};
    for (std::size_t k = 0; k < compiled.size(); ++k) {
        Choose(&choices, &current, static_cast<int>(k));
        if (k > 0 && compiled[k].present)
            current.linked = LinkStage(compiled[k], kind, &current);
        const CompiledStage none;
        BindSamplers(vertex ? compiled[k] : none, vertex ? none : compiled[k], out);
    }
    Choose(&choices, &current, 0);
}

void Effect::Choose(RuntimePass::Choices* choices, StageProgram* current, int k) {
    if (k == choices->chosen)
        return;
    std::swap(*current, choices->programs[static_cast<std::size_t>(choices->chosen)]);
    std::swap(*current, choices->programs[static_cast<std::size_t>(k)]);
    choices->chosen = k;
}

void Effect::BindSamplers(const CompiledStage& vertex, const CompiledStage& pixel, RuntimePass* out) {
    // Pixel samplers take their register (register(sN)) or the next free unit in declaration order;
    // vertex-stage samplers follow them.
    std::vector<bool> used(16, false);
    for (const SamplerBinding& b : out->samplers)
        used[b.unit] = true;
    for (const CompiledStage* stage : {&pixel, &vertex}) {
        if (!stage->present)
            continue;
        StageProgram& program = stage == &pixel ? out->pixel : out->vertex;
        std::vector<int> indices;
        for (const std::string& name : stage->result.samplers) {
            const int index = FindParameterByName(name.c_str());
            if (index >= 0)
                indices.push_back(index);
        }
        std::sort(indices.begin(), indices.end());
        for (const int index : indices) {
            int unit = parameters_[static_cast<std::size_t>(index)].desc.samplerRegister;
            bool already = false;
            for (const SamplerBinding& b : out->samplers) {
                if (b.parameter == index) {
                    already = true; // bound for another shader of the pass: the same unit
                    unit = static_cast<int>(b.unit);
                }
            }
            if (!already && (unit < 0 || unit >= 16 || used[static_cast<std::size_t>(unit)])) {
                unit = 0;
                while (unit < 16 && used[static_cast<std::size_t>(unit)])
                    ++unit;
            }
            if (unit >= 16)
                break;
            used[static_cast<std::size_t>(unit)] = true;
            if (!already)
                out->samplers.push_back(SamplerBinding{index, static_cast<DWORD>(unit)});
            if (platformDevice_ && program.program) {
                const GLint location = glGetUniformLocation(
                    program.program, parameters_[static_cast<std::size_t>(index)].desc.name.c_str());
                if (location >= 0)
                    glProgramUniform1i(program.program, location, unit);
            }
        }
    }
}

D3DXHANDLE Effect::ParameterHandle(int index) const {
    return &handles_[static_cast<std::size_t>(index)];
}
D3DXHANDLE Effect::TechniqueHandle(int index) const {
    return &handles_[parameters_.size() + static_cast<std::size_t>(index)];
}
D3DXHANDLE Effect::PassHandle(int technique, int pass) const {
    return &handles_[static_cast<std::size_t>(passHandleBase_[static_cast<std::size_t>(technique)] + pass)];
}

int Effect::FindParameterByName(const char* name) const {
    if (!name)
        return -1;
    for (std::size_t i = 0; i < static_cast<std::size_t>(parameterCount_); ++i) {
        if (parameters_[i].desc.name == name)
            return static_cast<int>(i);
    }
    return FindPath(name);
}

int Effect::FindParameter(D3DXHANDLE handle) const {
    if (!handle)
        return -1;
    if (handle >= handles_.data() && handle < handles_.data() + handles_.size()) {
        const std::size_t i = static_cast<std::size_t>(handle - handles_.data());
        return i < parameters_.size() ? static_cast<int>(i) : -1;
    }
    return FindParameterByName(handle);
}

int Effect::FindTechnique(D3DXHANDLE handle) const {
    if (!handle)
        return -1;
    if (handle >= handles_.data() && handle < handles_.data() + handles_.size()) {
        const std::size_t i = static_cast<std::size_t>(handle - handles_.data());
        return i >= parameters_.size() && i < parameters_.size() + techniques_.size()
                   ? static_cast<int>(i - parameters_.size())
                   : -1;
    }
    for (std::size_t i = 0; i < techniques_.size(); ++i) {
        if (techniques_[i].name == handle)
            return static_cast<int>(i);
    }
    return -1;
}

bool Effect::FindPass(D3DXHANDLE handle, int* technique, int* pass) const {
    if (!(handle >= handles_.data() && handle < handles_.data() + handles_.size()))
        return false;
    const int i = static_cast<int>(handle - handles_.data());
    for (std::size_t t = 0; t < techniques_.size(); ++t) {
        const int base = passHandleBase_[t];
        if (i >= base && i < base + static_cast<int>(techniques_[t].passes.size())) {
            *technique = static_cast<int>(t);
            *pass = i - base;
            return true;
        }
    }
    return false;
}

HRESULT Effect::GetDesc(D3DXEFFECT_DESC* pDesc) {
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    pDesc->Creator = "Vantor platform effect compiler";
    pDesc->Parameters = static_cast<UINT>(parameterCount_);
    pDesc->Techniques = static_cast<UINT>(techniques_.size());
    pDesc->Functions = static_cast<UINT>(functions_.size());
    return D3D_OK;
}

HRESULT Effect::GetParameterDesc(D3DXHANDLE hParameter, D3DXPARAMETER_DESC* pDesc) {
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    std::memset(pDesc, 0, sizeof(*pDesc));
    const int index = FindParameter(hParameter);
    if (index < 0)
        return D3DERR_INVALIDCALL;
    const Parameter& p = parameters_[static_cast<std::size_t>(index)].desc;
    pDesc->Name = p.name.c_str();
    pDesc->Semantic = p.semantic.empty() ? nullptr : p.semantic.c_str();
    pDesc->Class = p.cls;
    pDesc->Type = p.type;
    pDesc->Rows = p.cls == D3DXPC_OBJECT ? 0 : p.rows;
    pDesc->Columns = p.cls == D3DXPC_OBJECT ? 0 : p.columns;
    pDesc->Elements = p.elements;
    pDesc->Annotations = static_cast<UINT>(p.annotations.size());
    pDesc->StructMembers = StructMembers(index);
    pDesc->Flags = p.shared ? D3DX_PARAMETER_SHARED : 0;
    pDesc->Bytes = p.cls == D3DXPC_OBJECT ? static_cast<UINT>(sizeof(void*)) * (p.elements ? p.elements : 1)
                                          : static_cast<UINT>(Words(index).size * 4);
    return D3D_OK;
}

HRESULT Effect::GetTechniqueDesc(D3DXHANDLE hTechnique, D3DXTECHNIQUE_DESC* pDesc) {
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    std::memset(pDesc, 0, sizeof(*pDesc));
    const int t = FindTechnique(hTechnique);
    if (t < 0)
        return D3DERR_INVALIDCALL;
    pDesc->Name = techniques_[static_cast<std::size_t>(t)].name.c_str();
    pDesc->Passes = static_cast<UINT>(techniques_[static_cast<std::size_t>(t)].passes.size());
    pDesc->Annotations = static_cast<UINT>(AnnotationCount(static_cast<int>(parameters_.size()) + t));
    return D3D_OK;
}

HRESULT Effect::GetPassDesc(D3DXHANDLE hPass, D3DXPASS_DESC* pDesc) {
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    std::memset(pDesc, 0, sizeof(*pDesc));
    int t = 0;
    int p = 0;
    if (!FindPass(hPass, &t, &p))
        return D3DERR_INVALIDCALL;
    pDesc->Name = techniques_[static_cast<std::size_t>(t)].passes[static_cast<std::size_t>(p)].name.c_str();
    pDesc->Annotations = static_cast<UINT>(AnnotationCount(passHandleBase_[static_cast<std::size_t>(t)] + p));
    return D3D_OK;
}

HRESULT Effect::GetFunctionDesc(D3DXHANDLE, D3DXFUNCTION_DESC* pDesc) {
    if (pDesc)
        std::memset(pDesc, 0, sizeof(*pDesc));
    return D3DERR_INVALIDCALL;
}

D3DXHANDLE Effect::GetParameterBySemantic(D3DXHANDLE hParameter, LPCSTR pSemantic) {
    if (hParameter || !pSemantic)
        return nullptr;
    for (std::size_t i = 0; i < static_cast<std::size_t>(parameterCount_); ++i) {
        if (strcasecmp(parameters_[i].desc.semantic.c_str(), pSemantic) == 0)
            return ParameterHandle(static_cast<int>(i));
    }
    return nullptr;
}

D3DXHANDLE Effect::GetTechnique(UINT Index) {
    return Index < techniques_.size() ? TechniqueHandle(static_cast<int>(Index)) : nullptr;
}

D3DXHANDLE Effect::GetTechniqueByName(LPCSTR pName) {
    if (!pName)
        return nullptr;
    for (std::size_t i = 0; i < techniques_.size(); ++i) {
        if (techniques_[i].name == pName)
            return TechniqueHandle(static_cast<int>(i));
    }
    return nullptr;
}

D3DXHANDLE Effect::GetPass(D3DXHANDLE hTechnique, UINT Index) {
    const int t = FindTechnique(hTechnique);
    if (t < 0 || Index >= techniques_[static_cast<std::size_t>(t)].passes.size())
        return nullptr;
    return PassHandle(t, static_cast<int>(Index));
}

D3DXHANDLE Effect::GetPassByName(D3DXHANDLE hTechnique, LPCSTR pName) {
    const int t = FindTechnique(hTechnique);
    if (t < 0 || !pName)
        return nullptr;
    const auto& passes = techniques_[static_cast<std::size_t>(t)].passes;
    for (std::size_t p = 0; p < passes.size(); ++p) {
        if (passes[p].name == pName)
            return PassHandle(t, static_cast<int>(p));
    }
    return nullptr;
}

D3DXHANDLE Effect::GetFunction(UINT) {
    return nullptr;
}
D3DXHANDLE Effect::GetFunctionByName(LPCSTR) {
    return nullptr;
}

HRESULT Effect::SetTechnique(D3DXHANDLE hTechnique) {
    const int t = FindTechnique(hTechnique);
    if (t < 0 || begun_)
        return D3DERR_INVALIDCALL;
    currentTechnique_ = t;
    PrepareSaveList(techniques_[static_cast<std::size_t>(t)]);
    return D3D_OK;
}

D3DXHANDLE Effect::GetCurrentTechnique() {
    return currentTechnique_ < 0 ? nullptr : TechniqueHandle(currentTechnique_);
}

HRESULT Effect::Validate(int technique) const {
    D3DCAPS9 caps{};
    if (FAILED(device_->GetDeviceCaps(&caps)))
        return E_FAIL;
    const int vsMajor = static_cast<int>((caps.VertexShaderVersion >> 8) & 0xFF);
    const int psMajor = static_cast<int>((caps.PixelShaderVersion >> 8) & 0xFF);
    const auto fails = [&](const StageProgram& s, bool vertex) {
        return !s.linked || s.shaderModel > (vertex ? vsMajor : psMajor) ||
               s.registers >
                   (vertex ? static_cast<int>(caps.MaxVertexShaderConst) : PixelConstantLimit(s.shaderModel));
    };
    for (const RuntimePass& pass : techniques_[static_cast<std::size_t>(technique)].passes) {
        if ((pass.vertexPresent && fails(pass.vertex, true)) ||
            (pass.pixelPresent && fails(pass.pixel, false)))
            return E_FAIL;
        for (const RuntimePass::Choices* c : {&pass.vertexChoices, &pass.pixelChoices}) {
            for (const StageProgram& s : c->programs) {
                if (fails(s, c == &pass.vertexChoices))
                    return E_FAIL;
            }
        }
        for (const PassState& s : pass.states) {
            if ((s.kind == StateKind::Texture || s.kind == StateKind::Stage) &&
                s.index >= caps.MaxSimultaneousTextures)
                return E_FAIL;
        }
        const DWORD samplerLimit = pass.pixelPresent ? 16 : caps.MaxSimultaneousTextures;
        if (pass.samplers.size() > samplerLimit)
            return E_FAIL;
    }
    return D3D_OK;
}

HRESULT Effect::ValidateTechnique(D3DXHANDLE hTechnique) {
    const int t = FindTechnique(hTechnique);
    return t < 0 ? D3DERR_INVALIDCALL : Validate(t);
}

HRESULT Effect::FindNextValidTechnique(D3DXHANDLE hTechnique, D3DXHANDLE* pTechnique) {
    if (!pTechnique)
        return D3DERR_INVALIDCALL;
    *pTechnique = nullptr;
    int start = 0;
    if (hTechnique) {
        start = FindTechnique(hTechnique);
        if (start < 0)
            return D3DERR_INVALIDCALL;
        ++start;
    }
    for (int t = start; t < static_cast<int>(techniques_.size()); ++t) {
        if (SUCCEEDED(Validate(t))) {
            *pTechnique = TechniqueHandle(t);
            return D3D_OK;
        }
    }
    return S_FALSE;
}

BOOL Effect::IsParameterUsed(D3DXHANDLE hParameter, D3DXHANDLE hTechnique) {
    const int p = FindParameter(hParameter);
    const int t = FindTechnique(hTechnique);
    if (p < 0 || t < 0)
        return FALSE;
    for (const RuntimePass& pass : techniques_[static_cast<std::size_t>(t)].passes) {
        for (const StageProgram* stage : {&pass.vertex, &pass.pixel}) {
            for (const UniformBinding& u : stage->uniforms)
                if (u.parameter == p)
                    return TRUE;
        }
        for (const SamplerBinding& s : pass.samplers)
            if (s.parameter == p)
                return TRUE;
        for (const PassState& s : pass.states)
            if (s.parameter == p)
                return TRUE;
        for (const RuntimePass::Choices* c : {&pass.vertexChoices, &pass.pixelChoices}) {
            if (c->selector == p)
                return TRUE;
            for (const StageProgram& s : c->programs) {
                for (const UniformBinding& u : s.uniforms)
                    if (u.parameter == p)
                        return TRUE;
            }
        }
    }
    return FALSE;
}

HRESULT Effect::GetDevice(LPDIRECT3DDEVICE9* ppDevice) {
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    device_->AddRef();
    *ppDevice = device_.Get();
    return D3D_OK;
}

// GL programs survive a device reset here; there is nothing to release or re-create.
HRESULT Effect::OnLostDevice() {
    return D3D_OK;
}
HRESULT Effect::OnResetDevice() {
    return D3D_OK;
}

bool Effect::PassPrograms(UINT technique, UINT pass, GLuint* vertex, GLuint* pixel) const {
    if (technique >= techniques_.size() || pass >= techniques_[technique].passes.size())
        return false;
    *vertex = techniques_[technique].passes[pass].vertex.program;
    *pixel = techniques_[technique].passes[pass].pixel.program;
    return true;
}

} // namespace platform::fx
