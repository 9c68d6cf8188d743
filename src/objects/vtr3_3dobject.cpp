#include "objects/vtr3_3dobject.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"
#include "objects/vtr3_engineScene.h"
#include "resources/vtr3_effects.h"
#include "resources/vtr3_textures.h"

namespace {

const char* const kSource = "vtr3_3dobject";
const char* const kNotInitialized =
    "Die Funktion konnte nicht ausgef\xfchrt werden da die Klasse nicht initialisiert ist";

const char* const kSkillVectors[] = {"vecSkill1", "vecSkill2", "vecSkill3", "vecSkill4", "vecSkill5"};
const char* const kStageTextures[] = {"entTex0", "entTex1", "entTex2", "entTex3", "entTex4", "entTex5"};

} // namespace

c_VTR3Object3D::c_VTR3Object3D()
    : m_initialized(0), m_flags(), m_vertexBuffer(nullptr), m_indexBuffer(nullptr),
      m_savedStage0Texture(nullptr), m_textureIds(), m_effectId(0), m_skills(), m_position(0.0f, 0.0f, 0.0f),
      m_rotation(0.0f, 0.0f, 0.0f), m_scale(1.0f, 1.0f, 1.0f), m_stage0Saved(false) {}

c_VTR3Object3D::~c_VTR3Object3D() {
    if (m_initialized) {
        g_debugSystem.LogWarning(kSource, __LINE__, "c_VTR3Object3D::~c_VTR3Object3D", 0,
                                 "Ein Objekt wurde nicht ordnungsgem\xe4\xdf deinitialisiert.");
        DeInitializeBase();
    }
    // Whatever a derived class left behind goes with the object.
    ReplaceBuffers(nullptr, nullptr);
    VTR3ReleaseReference(m_savedStage0Texture);
}

void c_VTR3Object3D::ReleaseResources() {
    ReleaseResourcesBase();
}

void c_VTR3Object3D::RecreateResources() {
    RecreateResourcesBase();
}

void c_VTR3Object3D::Initialize() {
    InitializeBase();
}

void c_VTR3Object3D::DeInitialize() {
    DeInitializeBase();
}

void c_VTR3Object3D::Update() {}

void c_VTR3Object3D::Render() {}

bool c_VTR3Object3D::CheckInitialized(const char* function, int line) const {
    if (m_initialized) {
        return true;
    }
    g_debugSystem.LogError(kSource, line, function, "%s", kNotInitialized);
    return false;
}

bool c_VTR3Object3D::CreateBuffers(const BufferTexts& texts, const char* method, int line,
                                   const void* vertices, UINT vertexBytes, DWORD fvf, const WORD* indices,
                                   UINT indexBytes, IDirect3DVertexBuffer9** vertexBuffer,
                                   IDirect3DIndexBuffer9** indexBuffer) {
    *vertexBuffer = nullptr;
    *indexBuffer = nullptr;
    HRESULT result =
        g_device ? g_device->CreateVertexBuffer(vertexBytes, 0, fvf, D3DPOOL_MANAGED, vertexBuffer, NULL)
                 : D3DERR_INVALIDCALL;
    if (FAILED(result)) {
        g_debugSystem.LogDirectXError(texts.sourceFile, line, method, result, "%s", texts.vertexBufferFailed);
        return false;
    }
    result = g_device->CreateIndexBuffer(indexBytes, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, indexBuffer, NULL);
    if (FAILED(result)) {
        g_debugSystem.LogDirectXError(texts.sourceFile, line, method, result, "%s", texts.indexBufferFailed);
        VTR3ReleaseReference(*vertexBuffer);
        return false;
    }
    VTR3FillBuffer(*vertexBuffer, vertices, vertexBytes);
    VTR3FillBuffer(*indexBuffer, indices, indexBytes);
    return true;
}

void c_VTR3Object3D::ReplaceBuffers(IDirect3DVertexBuffer9* vertexBuffer,
                                    IDirect3DIndexBuffer9* indexBuffer) {
    VTR3UnbindBuffers(g_device, m_vertexBuffer, m_indexBuffer);
    VTR3ReleaseReference(m_vertexBuffer);
    VTR3ReleaseReference(m_indexBuffer);
    m_vertexBuffer = vertexBuffer;
    m_indexBuffer = indexBuffer;
}

void c_VTR3Object3D::InitializeBase() {
    m_initialized = 1;
}

void c_VTR3Object3D::DeInitializeBase() {
    if (!CheckInitialized("c_VTR3Object3D::DeInitializeBase", __LINE__)) {
        return;
    }
    ReleaseResourcesBase();
    VTR3ReleaseReference(m_savedStage0Texture);
    m_stage0Saved = false;
    m_initialized = 0;
}

void c_VTR3Object3D::ReleaseResourcesBase() {
    if (CheckInitialized("c_VTR3Object3D::ReleaseResourcesBase", __LINE__)) {
        ReplaceBuffers(nullptr, nullptr);
    }
}

void c_VTR3Object3D::RecreateResourcesBase() {
    CheckInitialized("c_VTR3Object3D::RecreateResourcesBase", __LINE__);
}

// Indices are compared unsigned: a negative one is refused like one that is too large.
void c_VTR3Object3D::SetFlag(unsigned int index, int value) {
    if (index >= FLAGS) {
        g_debugSystem.LogError(kSource, __LINE__, "c_VTR3Object3D::SetFlag", "%s",
                               "Das angebene Flag existiert nicht.");
        return;
    }
    m_flags[index] = value;
}

void c_VTR3Object3D::SetSkill(unsigned int index, float value) {
    if (index >= SKILLS) {
        g_debugSystem.LogError(kSource, __LINE__, "c_VTR3Object3D::SetSkill", "%s",
                               "Das angebene Skill existiert nicht.");
        return;
    }
    m_skills[index] = value;
}

// Identifiers are stored unchecked; they are looked up only when the object is drawn.
void c_VTR3Object3D::SetEffect(int effectId) {
    if (CheckInitialized("c_VTR3Object3D::SetEffect", __LINE__)) {
        m_effectId = effectId;
    }
}

void c_VTR3Object3D::SetTexture(unsigned int stage, int textureId) {
    if (!CheckInitialized("c_VTR3Object3D::SetTexture", __LINE__)) {
        return;
    }
    if (stage >= STAGES) {
        g_debugSystem.LogError(kSource, __LINE__, "c_VTR3Object3D::SetTexture", "%s",
                               "Das angebene TextureStage existiert nicht.");
        return;
    }
    m_textureIds[stage] = textureId;
}

void c_VTR3Object3D::SetPosition(float x, float y, float z) {
    if (CheckInitialized("c_VTR3Object3D::SetPosition", __LINE__)) {
        m_position = D3DXVECTOR3(x, y, z);
    }
}

void c_VTR3Object3D::SetRotation(float yaw, float pitch, float roll) {
    if (CheckInitialized("c_VTR3Object3D::SetRotation", __LINE__)) {
        m_rotation = D3DXVECTOR3(yaw, pitch, roll);
    }
}

void c_VTR3Object3D::SetScalation(float x, float y, float z) {
    if (CheckInitialized("c_VTR3Object3D::SetScalation", __LINE__)) {
        m_scale = D3DXVECTOR3(x, y, z);
    }
}

D3DXMATRIX c_VTR3Object3D::GetWorldMatrix() const {
    D3DXMATRIX scaling, rotation, translation, world;
    D3DXMatrixScaling(&scaling, m_scale.x, m_scale.y, m_scale.z);
    D3DXMatrixRotationYawPitchRoll(&rotation, m_rotation.x, m_rotation.y, m_rotation.z);
    D3DXMatrixTranslation(&translation, m_position.x, m_position.y, m_position.z);
    D3DXMatrixMultiply(&world, &translation, &rotation);
    D3DXMatrixMultiply(&world, &world, &scaling);
    return world;
}

void c_VTR3Object3D::PrepareRender() {
    if (!CheckInitialized("c_VTR3Object3D::PrepareRender", __LINE__)) {
        return;
    }
    if (m_effectId != 0) {
        PrepareEffect();
    } else {
        PrepareFixedFunction();
    }
}

// An identifier that names no compiled effect leaves nothing to set: the effect manager has said so.
void c_VTR3Object3D::PrepareEffect() {
    ID3DXEffect* effect = g_effectManager.GetEffect(m_effectId);
    if (!effect) {
        return;
    }
    const D3DXMATRIX world = GetWorldMatrix();
    const D3DXMATRIX view = VTR3EngineMatrix(a6::kOffsetViewMatrix);
    const D3DXMATRIX projection = VTR3EngineMatrix(a6::kOffsetProjectionMatrix);
    D3DXMATRIX worldView, worldViewProjection;
    D3DXMatrixMultiply(&worldView, &world, &view);
    D3DXMatrixMultiply(&worldViewProjection, &worldView, &projection);
    effect->SetMatrix("matWorldView", &worldView);
    effect->SetMatrix("matWorldViewProjection", &worldViewProjection);
    effect->SetMatrix("matWorld", &world);
    effect->SetMatrix("matView", &view);
    effect->SetMatrix("matProjection", &projection);
    for (unsigned int i = 0; i < SKILLS / 4; ++i) {
        const float* skills = &m_skills[i * 4];
        const D3DXVECTOR4 vector(skills[0], skills[1], skills[2], skills[3]);
        effect->SetVector(kSkillVectors[i], &vector);
    }
    for (unsigned int stage = 0; stage < STAGES; ++stage) {
        if (m_textureIds[stage] != 0) {
            effect->SetTexture(kStageTextures[stage], g_textureManager.GetBaseTexture(m_textureIds[stage]));
        }
    }
}

void c_VTR3Object3D::PrepareFixedFunction() {
    if (g_device && m_textureIds[0] != 0) {
        // A texture still held from a drawing that was never reset is given back first.
        VTR3ReleaseReference(m_savedStage0Texture);
        if (FAILED(g_device->GetTexture(0, &m_savedStage0Texture))) {
            m_savedStage0Texture = nullptr;
        }
        m_stage0Saved = true;
        g_device->SetTexture(0, g_textureManager.GetBaseTexture(m_textureIds[0]));
    }
    if (g_device) {
        const D3DXMATRIX world = GetWorldMatrix();
        g_device->SetRenderState(D3DRS_LIGHTING, FALSE);
        g_device->SetTransform(D3DTS_WORLD, &world);
    }
}

void c_VTR3Object3D::ResetRender() {
    if (!CheckInitialized("c_VTR3Object3D::ResetRender", __LINE__) || !g_device) {
        return;
    }
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    g_device->SetTransform(D3DTS_WORLD, &identity);
    g_device->SetRenderState(D3DRS_LIGHTING, TRUE);
    if (m_stage0Saved) {
        g_device->SetTexture(0, m_savedStage0Texture);
        VTR3ReleaseReference(m_savedStage0Texture);
        m_stage0Saved = false;
    }
}
