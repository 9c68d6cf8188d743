// Drawing with an effect: Begin saves the device state the technique's passes change (unless
// D3DXFX_DONOTSAVESTATE), BeginPass applies a pass through the device's own setters (or the state manager)
// and binds its programs, CommitChanges uploads changed parameters, End restores. Nothing here allocates.
#include "fx/effect.h"

#include "device/device.h"

#include <algorithm>
#include <cstring>

namespace platform::fx {
void Effect::PrepareSaveList(const RuntimeTechnique& technique) {
    for (SavedState& s : saved_) {
        if (s.texture)
            s.texture->Release();
    }
    saved_.clear();
    const auto add = [this](StateKind kind, DWORD id, DWORD index) {
        for (const SavedState& s : saved_) {
            if (s.kind == kind && s.id == id && s.index == index)
                return;
        }
        SavedState s;
        s.kind = kind;
        s.id = id;
        s.index = index;
        saved_.push_back(s);
    };
    const auto addSampler = [&](int parameter, DWORD unit) {
        add(StateKind::Texture, 0, unit);
        for (const PassState& s : samplerStates_[static_cast<std::size_t>(parameter)]) {
            if (s.kind == StateKind::Sampler)
                add(StateKind::Sampler, s.id, unit);
        }
    };
    for (const RuntimePass& pass : technique.passes) {
        for (const PassState& s : pass.states) {
            if (s.kind == StateKind::SamplerObject && s.parameter >= 0)
                addSampler(s.parameter, s.index);
            else if (s.kind == StateKind::Render || s.kind == StateKind::Transform)
                add(s.kind, s.id, 0);
            else if (s.kind == StateKind::Light || s.kind == StateKind::LightEnable ||
                     s.kind == StateKind::Material)
                add(s.kind, 0, s.kind == StateKind::Material ? 0 : s.index); // the whole light or material
            else
                add(s.kind, s.id, s.index);
        }
        for (const SamplerBinding& b : pass.samplers)
            addSampler(b.parameter, b.unit);
    }
}

DWORD Effect::ParameterDword(int parameter, ValueType type) const {
    const ParameterSlot& slot = parameters_[static_cast<std::size_t>(parameter)];
    const WordSpan words = Words(parameter);
    if (words.size == 0)
        return 0;
    const std::uint32_t word = words.data[0];
    if (slot.desc.type != D3DXPT_FLOAT || type == ValueType::Float)
        return word;
    float f = 0.0f;
    std::memcpy(&f, &word, sizeof(f));
    return NumberToState(type, f);
}

DWORD Effect::CurrentValue(const PassState& s) const {
    if (s.expression >= 0) {
        const double v =
            EvaluateStateExpression(expressions_[static_cast<std::size_t>(s.expression)], [this](int p) {
                const WordSpan words = Words(p);
                if (words.size == 0)
                    return 0.0;
                float f = 0.0f;
                std::memcpy(&f, words.data, sizeof(f));
                return parameters_[static_cast<std::size_t>(p)].desc.type == D3DXPT_FLOAT
                           ? static_cast<double>(f)
                           : static_cast<double>(static_cast<std::int32_t>(words.data[0]));
            });
        return NumberToState(s.type, static_cast<float>(v));
    }
    return s.parameter >= 0 ? ParameterDword(s.parameter, s.type) : s.value;
}

void Effect::CurrentVector(const PassState& s, float out[4]) const {
    for (int k = 0; k < 4; ++k)
        out[k] = s.vector[k];
    if (s.parameter >= 0) {
        const ParameterSlot& slot = parameters_[static_cast<std::size_t>(s.parameter)];
        const WordSpan words = Words(s.parameter);
        for (std::size_t k = 0; k < 4; ++k) {
            const std::uint32_t word = k < words.size ? words.data[k] : 0;
            float f = static_cast<float>(static_cast<std::int32_t>(word));
            if (slot.desc.type == D3DXPT_FLOAT)
                std::memcpy(&f, &word, sizeof(f));
            out[k] = f;
        }
    } else if (s.expression >= 0 || s.type == ValueType::Float) {
        const DWORD bits = CurrentValue(s);
        std::memcpy(&out[0], &bits, sizeof(float));
    }
}

void Effect::ApplyLightsAndMaterial(const RuntimePass& pass) {
    IDirect3DDevice9* device = device_.Get();
    constexpr DWORD kLights = 16; // state indices are below 16
    D3DLIGHT9 lights[kLights];
    bool touched[kLights] = {};
    D3DMATERIAL9 material{};
    bool materialTouched = false;
    for (const PassState& s : pass.states) {
        if (s.kind != StateKind::Light && s.kind != StateKind::Material)
            continue;
        float v[4];
        CurrentVector(s, v);
        const D3DCOLORVALUE color{v[0], v[1], v[2], v[3]};
        const D3DVECTOR vector{v[0], v[1], v[2]};
        if (s.kind == StateKind::Material) {
            if (!materialTouched)
                device->GetMaterial(&material);
            materialTouched = true;
            D3DCOLORVALUE* fields[] = {&material.Diffuse, &material.Ambient, &material.Specular,
                                       &material.Emissive};
            if (s.id == kMaterialPower)
                material.Power = v[0];
            else if (s.id < 4)
                *fields[s.id] = color;
            continue;
        }
        if (s.index >= kLights)
            continue;
        D3DLIGHT9& l = lights[s.index];
        if (!touched[s.index] && FAILED(device->GetLight(s.index, &l))) {
            l = D3DLIGHT9{}; // Direct3D's default light: white, directional, along +z
            l.Type = D3DLIGHT_DIRECTIONAL;
            l.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
            l.Direction = D3DVECTOR{0.0f, 0.0f, 1.0f};
        }
        touched[s.index] = true;
        switch (s.id) {
        case kLightType:
            l.Type = static_cast<D3DLIGHTTYPE>(CurrentValue(s));
            break;
        case kLightDiffuse:
            l.Diffuse = color;
            break;
        case kLightSpecular:
            l.Specular = color;
            break;
        case kLightAmbient:
            l.Ambient = color;
            break;
        case kLightPosition:
            l.Position = vector;
            break;
        case kLightDirection:
            l.Direction = vector;
            break;
        default: {
            float* scalars[] = {&l.Range,        &l.Falloff, &l.Attenuation0, &l.Attenuation1,
                                &l.Attenuation2, &l.Theta,   &l.Phi};
            if (s.id >= kLightRange && s.id <= kLightPhi)
                *scalars[s.id - kLightRange] = v[0];
            break;
        }
        }
    }
    ID3DXEffectStateManager* states = States();
    for (DWORD i = 0; i < kLights; ++i) {
        if (touched[i])
            states->SetLight(i, &lights[i]);
    }
    if (materialTouched)
        states->SetMaterial(&material);
}

void Effect::ApplySampler(int parameter, DWORD unit) {
    ID3DXEffectStateManager* states = States();
    for (const PassState& s : samplerStates_[static_cast<std::size_t>(parameter)]) {
        if (s.kind == StateKind::Texture) {
            IDirect3DBaseTexture9* texture =
                s.parameter >= 0 ? parameters_[static_cast<std::size_t>(s.parameter)].value->texture.Get()
                                 : nullptr;
            states->SetTexture(unit, texture);
        } else if (s.kind == StateKind::Sampler) {
            states->SetSamplerState(unit, static_cast<D3DSAMPLERSTATETYPE>(s.id), CurrentValue(s));
        }
    }
}

void Effect::ChooseBySelectors(RuntimePass* pass) const {
    for (const bool vertex : {true, false}) {
        RuntimePass::Choices& c = vertex ? pass->vertexChoices : pass->pixelChoices;
        if (c.selector < 0 || c.programs.empty())
            continue;
        // The index as an integer state value; out of range clamps to the array.
        const auto index = static_cast<std::int32_t>(ParameterDword(c.selector, ValueType::Dword));
        const int last = static_cast<int>(c.programs.size()) - 1;
        Choose(&c, vertex ? &pass->vertex : &pass->pixel, index < 0 ? 0 : std::min(index, last));
    }
}

void Effect::SetPrograms(GLuint vertex, GLuint pixel) {
    const device::DeviceLock lock(platformDevice_); // End calls this outside any device method
    if (platformDevice_)
        platformDevice_->SetShaderPrograms(vertex, pixel);
}

void Effect::ApplyPass(RuntimePass* pass) {
    ID3DXEffectStateManager* states = States();
    for (const PassState& s : pass->states) {
        // Only the kinds that pass a value evaluate it; lights and the material are gathered and
        // evaluated by ApplyLightsAndMaterial.
        switch (s.kind) {
        case StateKind::Render:
            states->SetRenderState(static_cast<D3DRENDERSTATETYPE>(s.id), CurrentValue(s));
            break;
        case StateKind::Stage:
            states->SetTextureStageState(s.index, static_cast<D3DTEXTURESTAGESTATETYPE>(s.id),
                                         CurrentValue(s));
            break;
        case StateKind::Sampler:
            states->SetSamplerState(s.index, static_cast<D3DSAMPLERSTATETYPE>(s.id), CurrentValue(s));
            break;
        case StateKind::Texture:
            states->SetTexture(s.index,
                               s.parameter >= 0
                                   ? parameters_[static_cast<std::size_t>(s.parameter)].value->texture.Get()
                                   : nullptr);
            break;
        case StateKind::SamplerObject:
            if (s.parameter >= 0)
                ApplySampler(s.parameter, s.index);
            break;
        case StateKind::LightEnable:
            states->LightEnable(s.index, CurrentValue(s) != 0);
            break;
        case StateKind::Transform: {
            if (s.parameter < 0)
                break;
            const WordSpan words = Words(s.parameter);
            if (words.size >= 16) {
                D3DMATRIX m;
                std::memcpy(&m, words.data, sizeof(m));
                states->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(s.id), &m);
            }
            break;
        }
        case StateKind::ShaderConstant:
            ApplyShaderConstant(s, states);
            break;
        default:
            break;
        }
    }
    ApplyLightsAndMaterial(*pass);
    for (const SamplerBinding& b : pass->samplers)
        ApplySampler(b.parameter, b.unit);
    ChooseBySelectors(pass);
    TellManagerShaders(pass->vertexPresent || !pass->vertexChoices.programs.empty(),
                       pass->pixelPresent || !pass->pixelChoices.programs.empty());
    const device::DeviceLock lock(platformDevice_);
    if (platformDevice_ && platformDevice_->MakeCurrentForDraw()) {
        UploadUniforms(&pass->vertex);
        UploadUniforms(&pass->pixel);
    }
    SetPrograms(pass->vertex.program, pass->pixel.program);
}

HRESULT Effect::Begin(UINT* pPasses, DWORD Flags) {
    if (pPasses)
        *pPasses = 0;
    if (begun_ || currentTechnique_ < 0)
        return D3DERR_INVALIDCALL;
    IDirect3DDevice9* device = device_.Get();
    saveState_ = (Flags & D3DXFX_DONOTSAVESTATE) == 0;
    ReleaseSavedShaders();
    if (saveState_ && !(Flags & D3DXFX_DONOTSAVESHADERSTATE)) {
        // A stage drawn by another effect's program has no shader object: it is saved as none.
        device->GetVertexShader(&savedVertexShader_);
        device->GetPixelShader(&savedPixelShader_);
    }
    if (saveState_) {
        for (SavedState& s : saved_) {
            switch (s.kind) {
            case StateKind::Render:
                device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(s.id), &s.value);
                break;
            case StateKind::Stage:
                device->GetTextureStageState(s.index, static_cast<D3DTEXTURESTAGESTATETYPE>(s.id), &s.value);
                break;
            case StateKind::Sampler:
                device->GetSamplerState(s.index, static_cast<D3DSAMPLERSTATETYPE>(s.id), &s.value);
                break;
            case StateKind::Texture:
                device->GetTexture(s.index, &s.texture);
                break;
            case StateKind::Transform:
                device->GetTransform(static_cast<D3DTRANSFORMSTATETYPE>(s.id), &s.matrix);
                break;
            case StateKind::Light:
                s.valid = SUCCEEDED(device->GetLight(s.index, &s.light));
                break;
            case StateKind::LightEnable: {
                BOOL enabled = FALSE;
                s.valid = SUCCEEDED(device->GetLightEnable(s.index, &enabled));
                s.value = static_cast<DWORD>(enabled);
                break;
            }
            case StateKind::Material:
                device->GetMaterial(&s.material);
                break;
            default:
                break;
            }
        }
    }
    begun_ = true;
    activePass_ = -1;
    if (pPasses)
        *pPasses = static_cast<UINT>(techniques_[static_cast<std::size_t>(currentTechnique_)].passes.size());
    return D3D_OK;
}

HRESULT Effect::BeginPass(UINT Pass) {
    if (!begun_ || activePass_ >= 0)
        return D3DERR_INVALIDCALL;
    auto& passes = techniques_[static_cast<std::size_t>(currentTechnique_)].passes;
    if (Pass >= passes.size())
        return D3DERR_INVALIDCALL;
    activePass_ = static_cast<int>(Pass);
    ApplyPass(&passes[Pass]);
    return D3D_OK;
}

HRESULT Effect::CommitChanges() {
    if (activePass_ < 0)
        return D3DERR_INVALIDCALL;
    RuntimePass& pass = techniques_[static_cast<std::size_t>(currentTechnique_)]
                            .passes[static_cast<std::size_t>(activePass_)];
    for (const SamplerBinding& b : pass.samplers)
        ApplySampler(b.parameter, b.unit);
    for (const PassState& s : pass.states) {
        if (s.kind == StateKind::ShaderConstant)
            ApplyShaderConstant(s, States());
    }
    ChooseBySelectors(&pass);
    const device::DeviceLock lock(platformDevice_);
    if (platformDevice_ && platformDevice_->MakeCurrentForDraw()) {
        UploadUniforms(&pass.vertex);
        UploadUniforms(&pass.pixel);
    }
    SetPrograms(pass.vertex.program, pass.pixel.program);
    return D3D_OK;
}

HRESULT Effect::EndPass() {
    if (activePass_ < 0)
        return D3DERR_INVALIDCALL;
    activePass_ = -1;
    return D3D_OK;
}

HRESULT Effect::End() {
    if (!begun_)
        return D3DERR_INVALIDCALL;
    begun_ = false;
    activePass_ = -1;
    if (!saveState_)
        return D3D_OK;
    ID3DXEffectStateManager* states = States();
    for (SavedState& s : saved_) {
        switch (s.kind) {
        case StateKind::Render:
            states->SetRenderState(static_cast<D3DRENDERSTATETYPE>(s.id), s.value);
            break;
        case StateKind::Stage:
            states->SetTextureStageState(s.index, static_cast<D3DTEXTURESTAGESTATETYPE>(s.id), s.value);
            break;
        case StateKind::Sampler:
            states->SetSamplerState(s.index, static_cast<D3DSAMPLERSTATETYPE>(s.id), s.value);
            break;
        case StateKind::Texture:
            states->SetTexture(s.index, s.texture);
            if (s.texture)
                s.texture->Release();
            s.texture = nullptr;
            break;
        case StateKind::Transform:
            states->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(s.id), &s.matrix);
            break;
        case StateKind::Light:
            if (s.valid)
                states->SetLight(s.index, &s.light);
            break;
        case StateKind::LightEnable:
            states->LightEnable(s.index, static_cast<BOOL>(s.value));
            break;
        case StateKind::Material:
            states->SetMaterial(&s.material);
            break;
        default:
            break;
        }
    }
    bool vertex = false;
    bool pixel = false;
    for (const RuntimePass& pass : techniques_[static_cast<std::size_t>(currentTechnique_)].passes) {
        vertex = vertex || pass.vertexPresent || !pass.vertexChoices.programs.empty();
        pixel = pixel || pass.pixelPresent || !pass.pixelChoices.programs.empty();
    }
    // The effect's programs give way to the shaders the application set on the device; the stages
    // the technique drew get the shaders saved at Begin (none when not saved), through the manager
    // when there is one.
    {
        const device::DeviceLock lock(platformDevice_);
        if (platformDevice_)
            platformDevice_->BindApplicationShaders();
    }
    if (vertex)
        states->SetVertexShader(savedVertexShader_);
    if (pixel)
        states->SetPixelShader(savedPixelShader_);
    ReleaseSavedShaders();
    return D3D_OK;
}

void Effect::ReleaseSavedShaders() {
    if (savedVertexShader_)
        savedVertexShader_->Release();
    if (savedPixelShader_)
        savedPixelShader_->Release();
    savedVertexShader_ = nullptr;
    savedPixelShader_ = nullptr;
}

} // namespace platform::fx
