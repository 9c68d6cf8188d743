#include "render/vtr3_postProcessor.h"

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

// The other target of a ping-pong pair; the scene (0) and anything else start the full-size pair.
int Partner(int source) {
    switch (source) {
    case 30001:
        return 30002;
    case 30003:
        return 30004;
    case 30004:
        return 30003;
    case 30005:
        return 30006;
    case 30006:
        return 30005;
    default:
        return 30001;
    }
}

} // namespace

c_VTR3PostProcessor::c_VTR3PostProcessor()
    : c_VTR3ManagerLifecycle(kTexts), m_width(1024), m_height(768), m_steps(), m_source(0), m_target(0),
      m_quads(), m_indices(nullptr), m_targetSurface(nullptr) {}

c_VTR3PostProcessor::~c_VTR3PostProcessor() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3PostProcessor::Initialize() {
    if (!CreateBuffers("c_VTR3PostProcessor::Initialize", __LINE__)) {
        return;
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
    VTR3ReleaseReference(m_indices);
    for (int quad = 0; quad < QUADS; ++quad) {
        VTR3ReleaseReference(m_quads[quad]);
    }
    VTR3ReleaseReference(m_targetSurface);
}

void c_VTR3PostProcessor::CreateTargets() {
    for (int id = TEXTURE_FIRST; id <= TEXTURE_LAST; ++id) {
        const unsigned int divisor = id <= 30002 ? 1 : id <= 30004 ? 2 : 4;
        g_textureManager.TextureCreate(id, 0);
        g_textureManager.SetSize(id, m_width / divisor, m_height / divisor);
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

// A step whose identifier names no usable effect (a 0 in the first position among them) passes its
// source through unchanged: it is drawn as a copy into the target and with the quad that the effect
// would have had, so the chain goes on and the final target still receives the image.
void c_VTR3PostProcessor::StartPostProcessing(IDirect3DSurface9* finalTarget, int viewId) {
    if (!CheckInitialized("c_VTR3PostProcessor::StartPostProcessing", __LINE__)) {
        return;
    }
    for (int i = 0; i < STEPS; ++i) {
        m_steps[i] = g_viewManager.GetPostProcessEffectID(viewId, i);
    }
    SetChainState();
    for (int j = 0; j < STEPS; ++j) {
        const int step = m_steps[j];
        const bool last = j == STEPS - 1 || m_steps[j + 1] == 0;
        const bool copy = step == STEP_QUARTER_COPY || step == STEP_HALF_COPY || step == STEP_FULL_COPY;
        const Quad quad = BeginStep(step, last, finalTarget);
        if (quad != QUADS && (copy || !DrawEffect(step, quad))) {
            DrawCopy(quad);
        }
        if (last) {
            break;
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

// QUADS when the step has no target to draw into (its texture could not be created).
c_VTR3PostProcessor::Quad c_VTR3PostProcessor::BeginStep(int step, bool last,
                                                         IDirect3DSurface9* finalTarget) {
    Quad quad;
    int target;
    switch (step) {
    case STEP_QUARTER_COPY:
        quad = QUAD_QUARTER;
        target = m_source == 30005 ? 30006 : 30005;
        break;
    case STEP_HALF_COPY:
        quad = QUAD_HALF;
        target = m_source == 30003 ? 30004 : 30003;
        break;
    case STEP_FULL_COPY:
        quad = QUAD_FULL;
        target = m_source == 30001 ? 30002 : 30001;
        break;
    default:
        target = Partner(m_source);
        quad = target >= 30005 ? QUAD_QUARTER : target >= 30003 ? QUAD_HALF : QUAD_FULL;
        if (last) {
            quad = QUAD_FULL;
        }
        break;
    }
    if (last) {
        if (!finalTarget) {
            return QUADS;
        }
        g_device->SetRenderTarget(0, finalTarget);
        return quad;
    }
    HoldTargetSurface(g_textureManager.GetSurface(target, 0));
    m_target = target;
    if (!m_targetSurface) {
        return QUADS;
    }
    g_device->SetRenderTarget(0, m_targetSurface);
    return quad;
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

bool c_VTR3PostProcessor::DrawEffect(int effectId, Quad quad) {
    ID3DXEffect* effect = g_effectManager.GetEffect(effectId);
    if (!effect) {
        return false;
    }
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
    return true;
}

// The surface a step draws into is held until the next step replaces it or the chain ends.
void c_VTR3PostProcessor::HoldTargetSurface(IDirect3DSurface9* surface) {
    VTR3ReleaseReference(m_targetSurface);
    m_targetSurface = surface;
}
