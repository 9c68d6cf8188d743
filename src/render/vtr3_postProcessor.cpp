#include "render/vtr3_postProcessor.h"

#include <string.h>

#include <d3dx9.h>

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_deviceResources.h"
#include "frame/vtr3_globals.h"
#include "resources/vtr3_effects.h"
#include "resources/vtr3_textures.h"
#include "views/vtr3_views.h"

namespace {

const VTR3ManagerTexts kTexts = {
    "vtr3_postProcessor",
    "c_VTR3PostProcessor::~c_VTR3PostProcessor",
    "Der Post-Processor ist nicht initialisiert. Funktion wird abgebrochen",
    "Der Post-Processor wurde erfolgreich initialisiert",
    "Der Post-Processor wurde erfolgreich deinitialisiert",
    "Der Post-Processor wurde nicht ordnungsgem\xe4\xdf deinitialsiert ...",
    0,
};

// A screen-space vertex: position in pixels, then the texture coordinate.
struct QuadVertex {
    float x, y, z, rhw, u, v;
};

const DWORD kQuadFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;
const UINT kQuadStride = sizeof(QuadVertex);
const UINT kQuadBytes = 4 * kQuadStride;
const WORD kQuadIndices[6] = {0, 1, 2, 1, 3, 2};

struct EffectFile {
    int id;
    const char* path;
};

const EffectFile kEffects[] = {
    {30002, "VTR3Content\\vtr3_brightpass.fx"}, {30004, "VTR3Content\\vtr3_vbloom.fx"},
    {30005, "VTR3Content\\vtr3_hbloom.fx"},     {30007, "VTR3Content\\vtr3_vblur.fx"},
    {30006, "VTR3Content\\vtr3_hblur.fx"},      {30008, "VTR3Content\\vtr3_simpleblur.fx"},
    {30009, "VTR3Content\\vtr3_negative.fx"},   {30010, "VTR3Content\\vtr3_monochrom.fx"},
    {30011, "VTR3Content\\vtr3_combine.fx"},
};

using PP = c_VTR3PostProcessor;

// The size of a target as the quad that covers it: the scene and the full pair are full size.
int QuadOf(int target) {
    return target >= PP::TEXTURE_QUARTER_A ? 2 : target >= PP::TEXTURE_HALF_A ? 1 : 0;
}

// The other target of a ping-pong pair; `first` when the source is not of the pair.
int PairPartner(int source, int first, int second) {
    return source == first ? second : first;
}

// The target a step writes when it is not the last: a copy writes the pair of its size, an effect
// the partner of its source (the scene and anything else start the full-size pair).
int StepTarget(int step, int source) {
    switch (step) {
    case PP::STEP_QUARTER_COPY:
        return PairPartner(source, PP::TEXTURE_QUARTER_A, PP::TEXTURE_QUARTER_B);
    case PP::STEP_HALF_COPY:
        return PairPartner(source, PP::TEXTURE_HALF_A, PP::TEXTURE_HALF_B);
    case PP::STEP_FULL_COPY:
        return PairPartner(source, PP::TEXTURE_FULL_A, PP::TEXTURE_FULL_B);
    }
    switch (source) {
    case PP::TEXTURE_HALF_A:
    case PP::TEXTURE_HALF_B:
        return PairPartner(source, PP::TEXTURE_HALF_A, PP::TEXTURE_HALF_B);
    case PP::TEXTURE_QUARTER_A:
    case PP::TEXTURE_QUARTER_B:
        return PairPartner(source, PP::TEXTURE_QUARTER_A, PP::TEXTURE_QUARTER_B);
    default:
        return PairPartner(source, PP::TEXTURE_FULL_A, PP::TEXTURE_FULL_B);
    }
}

bool IsCopy(int step) {
    return step == PP::STEP_QUARTER_COPY || step == PP::STEP_HALF_COPY || step == PP::STEP_FULL_COPY;
}

// An empty step list shows the scene as it is: one full copy into the final target.
const int kEmptyList[1] = {PP::STEP_FULL_COPY};

} // namespace

c_VTR3PostProcessor::c_VTR3PostProcessor()
    : c_VTR3ManagerLifecycle(kTexts), m_width(1024), m_height(768), m_steps(), m_source(0), m_target(0),
      m_quads(), m_indices(nullptr), m_targetSurface(nullptr), m_reported(), m_nextReported(0) {}

c_VTR3PostProcessor::~c_VTR3PostProcessor() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3PostProcessor::Initialize() {
    if (!CreateBuffers("c_VTR3PostProcessor::Initialize", __LINE__)) {
        // A start-up repeated on an initialised post-processor ends with no buffers to draw with.
        m_initialized = 0;
        return;
    }
    for (ReportedSteps& reported : m_reported) {
        reported = ReportedSteps();
    }
    CreateTargets();
    LoadEffects();
    MarkInitialized();
}

void c_VTR3PostProcessor::DeInitialize() {
    if (!m_initialized) {
        g_debugSystem.LogError(kTexts.sourceFile, __LINE__, "c_VTR3PostProcessor::DeInitialize",
                               "Post-Processor ist nicht initialisiert. Funktion wird abgebrochen");
        return;
    }
    ReleaseBuffers();
    MarkDeInitialized();
}

void c_VTR3PostProcessor::ReleaseResources() {
    if (CheckInitialized("c_VTR3PostProcessor::ReleaseResources", __LINE__)) {
        ReleaseBuffers();
    }
}

void c_VTR3PostProcessor::RecreateResources() {
    if (CheckInitialized("c_VTR3PostProcessor::RecreateResources", __LINE__)) {
        CreateBuffers("c_VTR3PostProcessor::RecreateResources", __LINE__);
    }
}

void c_VTR3PostProcessor::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Post-Processor:", __TIMESTAMP__, __TIME__);
}

// Buffers held from before (a second Initialize, a re-creation without release) are given back
// first; after a failed creation none is kept.
bool c_VTR3PostProcessor::CreateBuffers(const char* method, int line) {
    ReleaseBuffers();
    HRESULT result = g_device ? D3D_OK : D3DERR_INVALIDCALL;
    for (int quad = 0; quad < QUADS && SUCCEEDED(result); ++quad) {
        result = g_device->CreateVertexBuffer(kQuadBytes, 0, kQuadFvf, D3DPOOL_MANAGED, &m_quads[quad], NULL);
    }
    if (FAILED(result)) {
        g_debugSystem.LogDirectXError(kTexts.sourceFile, line, method, result, "%s",
                                      "Vertexbuffer des Post-Processors konnte nicht initialisiert werden");
        ReleaseBuffers();
        return false;
    }
    result = g_device->CreateIndexBuffer(sizeof(kQuadIndices), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &m_indices,
                                         NULL);
    if (FAILED(result)) {
        g_debugSystem.LogDirectXError(kTexts.sourceFile, line, method, result, "%s",
                                      "Indexbuffer des Post-Procesors konnte nicht initialisiert werden");
        ReleaseBuffers();
        return false;
    }
    FillBuffers();
    return true;
}

// Quads in pixels of the working size, without a half-pixel offset: the device's own pixel-centre
// convention decides where the texels land.
void c_VTR3PostProcessor::FillBuffers() {
    const float sizes[QUADS][2] = {{static_cast<float>(m_width), static_cast<float>(m_height)},
                                   {m_width / 2.0f, m_height / 2.0f},
                                   {m_width / 4.0f, m_height / 4.0f}};
    for (int quad = 0; quad < QUADS; ++quad) {
        const float w = sizes[quad][0];
        const float h = sizes[quad][1];
        const QuadVertex vertices[4] = {
            {0, h, 0, 1, 0, 1}, {0, 0, 0, 1, 0, 0}, {w, h, 0, 1, 1, 1}, {w, 0, 0, 1, 1, 0}};
        VTR3FillBuffer(m_quads[quad], vertices, kQuadBytes);
    }
    VTR3FillBuffer(m_indices, kQuadIndices, sizeof(kQuadIndices));
}

void c_VTR3PostProcessor::ReleaseBuffers() {
    for (int quad = 0; quad < QUADS; ++quad) {
        VTR3UnbindBuffers(g_device, m_quads[quad], m_indices);
    }
    VTR3ReleaseReference(m_indices);
    for (int quad = 0; quad < QUADS; ++quad) {
        VTR3ReleaseReference(m_quads[quad]);
    }
    VTR3ReleaseReference(m_targetSurface);
}

void c_VTR3PostProcessor::CreateTargets() {
    for (int id = TEXTURE_SCENE; id <= TEXTURE_QUARTER_B; ++id) {
        g_textureManager.TextureCreate(id, 0);
        g_textureManager.SetSize(id, m_width >> QuadOf(id), m_height >> QuadOf(id));
        g_textureManager.SetFormat(id, D3DFMT_A8R8G8B8);
        g_textureManager.SetUsage(id, 0);
        g_textureManager.TextureInitialize(id);
    }
}

void c_VTR3PostProcessor::LoadEffects() {
    for (const EffectFile& file : kEffects) {
        g_effectManager.EffectCreate(file.id);
        g_effectManager.SetPath(file.id, file.path);
        g_effectManager.EffectInitialize(file.id);
    }
}

IDirect3DSurface9* c_VTR3PostProcessor::PreparePostProcessing() {
    if (!CheckInitialized("c_VTR3PostProcessor::PreparePostProcessing", __LINE__)) {
        return nullptr;
    }
    return g_textureManager.GetSurface(TEXTURE_SCENE, 0);
}

// A step whose identifier names no usable effect passes its source through unchanged: it is drawn as
// a copy into the target and with the quad that the effect would have had, so the chain goes on and
// the final target still receives the image.
void c_VTR3PostProcessor::StartPostProcessing(IDirect3DSurface9* finalTarget, int viewId) {
    if (!CheckInitialized("c_VTR3PostProcessor::StartPostProcessing", __LINE__)) {
        return;
    }
    // Without a final target the view was never redirected: there is no scene image to process.
    if (!finalTarget) {
        return;
    }
    for (int i = 0; i < STEPS; ++i) {
        m_steps[i] = g_viewManager.GetPostProcessEffectID(viewId, i);
    }
    // The steps before the first 0.
    int count = 0;
    while (count < STEPS && m_steps[count] != 0) {
        ++count;
    }
    const int* steps = count > 0 ? m_steps : kEmptyList;
    count = count > 0 ? count : 1;
    SetChainState();
    for (int j = 0; j < count; ++j) {
        const int step = steps[j];
        const bool last = j == count - 1;
        const bool copy = IsCopy(step);
        m_target = StepTarget(step, m_source);
        const Quad quad = last && !copy ? QUAD_FULL : static_cast<Quad>(QuadOf(m_target));
        if (SwitchTarget(last, finalTarget)) {
            ID3DXEffect* effect = copy ? nullptr : FindEffect(viewId, j, step);
            if (effect) {
                DrawEffect(effect, step, quad);
            } else {
                DrawCopy(quad);
            }
        }
        m_source = m_target;
    }
    m_source = 0;
    m_target = 0;
    HoldTargetSurface(nullptr);
    // Stage 0 would otherwise keep the last source bound, and a bound render target texture
    // stands in the way of a device reset.
    g_device->SetTexture(0, NULL);
}

void c_VTR3PostProcessor::SetChainState() {
    g_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    g_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    g_device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE);
    g_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    g_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    g_device->SetIndices(m_indices);
    g_device->SetFVF(kQuadFvf);
}

bool c_VTR3PostProcessor::SwitchTarget(bool last, IDirect3DSurface9* finalTarget) {
    if (!last) {
        HoldTargetSurface(g_textureManager.GetSurface(m_target, 0));
    }
    IDirect3DSurface9* surface = last ? finalTarget : m_targetSurface;
    if (surface) {
        g_device->SetRenderTarget(0, surface);
    }
    return surface != nullptr;
}

void c_VTR3PostProcessor::SetQuad(Quad quad) {
    g_device->SetStreamSource(0, m_quads[quad], 0, kQuadStride);
}

void c_VTR3PostProcessor::DrawQuad() {
    g_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
}

// Through the fixed-function stage 0 that SetChainState set up: the output is the texture colour.
void c_VTR3PostProcessor::DrawCopy(Quad quad) {
    g_device->SetTexture(0, g_textureManager.GetTexture(m_source ? m_source : TEXTURE_SCENE));
    SetQuad(quad);
    DrawQuad();
}

// The effect manager's not-found row is written by GetEffect; once written for a step, the effect is
// asked for again only when it exists, so a missing effect does not write the same row every frame.
ID3DXEffect* c_VTR3PostProcessor::FindEffect(int viewId, int position, int effectId) {
    ReportedSteps* reported = Remembered(viewId);
    const unsigned int bit = 1u << position;
    if (reported && (reported->positions & bit) && !g_effectManager.IsCreated(effectId)) {
        return nullptr;
    }
    ID3DXEffect* effect = g_effectManager.GetEffect(effectId);
    if (!effect) {
        if (!reported) {
            // Views not remembered take the records in turn.
            reported = &m_reported[m_nextReported];
            m_nextReported = (m_nextReported + 1) % REMEMBERED_VIEWS;
            reported->viewId = viewId;
            memcpy(reported->steps, m_steps, sizeof(m_steps));
        }
        reported->positions |= bit;
    }
    return effect;
}

// The view's record while its step list is the one reported; a changed list forgets the reports.
c_VTR3PostProcessor::ReportedSteps* c_VTR3PostProcessor::Remembered(int viewId) {
    for (ReportedSteps& reported : m_reported) {
        if (reported.positions != 0 && reported.viewId == viewId) {
            if (memcmp(reported.steps, m_steps, sizeof(m_steps)) != 0) {
                reported.positions = 0;
                return nullptr;
            }
            return &reported;
        }
    }
    return nullptr;
}

void c_VTR3PostProcessor::DrawEffect(ID3DXEffect* effect, int effectId, Quad quad) {
    SetQuad(quad);
    effect->SetTexture("postTex1", g_textureManager.GetBaseTexture(m_source ? m_source : TEXTURE_SCENE));
    effect->SetTexture("postTex2", g_textureManager.GetBaseTexture(TEXTURE_SCENE));
    for (unsigned int slot = 0; slot < 2; ++slot) {
        const int textureId = g_effectManager.GetEffectTexID(effectId, slot);
        if (textureId != 0) {
            effect->SetTexture("effTex1", g_textureManager.GetBaseTexture(textureId));
        }
    }
    D3DXVECTOR4 values;
    g_effectManager.GetValueVector(effectId, 0, &values);
    effect->SetVector("vecValues1", &values);
    g_effectManager.GetValueVector(effectId, 1, &values);
    effect->SetVector("vecValues2", &values);
    UINT passes = 0;
    effect->Begin(&passes, 0);
    for (UINT pass = 0; pass < passes; ++pass) {
        effect->BeginPass(pass);
        DrawQuad();
        effect->EndPass();
    }
    effect->End();
}

// The surface a step draws into is held until the next step replaces it or the chain ends.
void c_VTR3PostProcessor::HoldTargetSurface(IDirect3DSurface9* surface) {
    VTR3ReleaseReference(m_targetSurface);
    m_targetSurface = surface;
}
