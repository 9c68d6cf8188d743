#include "objects/vtr3_objectWater.h"

#include <math.h>

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"
#include "frame/vtr3_random.h"
#include "resources/vtr3_effects.h"

namespace {

const c_VTR3Object3D::BufferTexts kBufferTexts = {
    "vtr3_objectWater",
    "Fehler beim erstellen eines Vertexbuffers",
    "Fehler beim erstellen eines Indexbuffers",
};

// Two triangles, clockwise as seen from above.
const WORD kIndices[c_VTR3ObjectWater::INDICES] = {0, 1, 2, 1, 3, 2};

struct WaterVertex {
    float x, y, z;
    float u, v;
};

const float kRadiansPerMillisecond = 0.009f; // bits 0x3C1374BC
const float kBumpScale = 0.03f;              // bits 0x3CF5C28F

// Each texel is U (first byte) and V (second); V is drawn first.
void FillNoise(IDirect3DTexture9* texture, UINT size) {
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(texture->LockRect(0, &locked, NULL, 0)) && locked.pBits) {
        for (UINT y = 0; y < size; ++y) {
            BYTE* texel = static_cast<BYTE*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
            for (UINT x = 0; x < size; ++x, texel += 2) {
                const int v = VTR3Random(0, 255);
                const int u = VTR3Random(0, 255);
                texel[0] = static_cast<BYTE>(u);
                texel[1] = static_cast<BYTE>(v);
            }
        }
    }
    texture->UnlockRect(0);
}

void SetProjectionMatrices(D3DXMATRIX* reflection, D3DXMATRIX* refraction) {
    D3DXMatrixIdentity(reflection);
    reflection->_11 = 0.84f;
    reflection->_22 = 0.91f;
    reflection->_31 = 0.5f;
    reflection->_32 = -0.5f;
    reflection->_33 = 1.0f;
    *refraction = *reflection;
    refraction->_11 = -0.84f;
    refraction->_33 = -1.0f;
}

} // namespace

c_VTR3ObjectWater::c_VTR3ObjectWater() : m_noiseTexture(nullptr) {
    D3DXMatrixIdentity(&m_matBumpWave);
    D3DXMatrixIdentity(&m_matTextureRefraction);
    D3DXMatrixIdentity(&m_matTextureReflection);
}

// The base class sees only its own buffers; the noise texture is this class's to give back.
c_VTR3ObjectWater::~c_VTR3ObjectWater() {
    ReleaseNoise();
}

void c_VTR3ObjectWater::ReleaseNoise() {
    VTR3ReleaseReference(m_noiseTexture);
}

UINT c_VTR3ObjectWater::NoiseSize(float skill) {
    return skill >= 0.0f && skill < 4294967296.0f ? static_cast<UINT>(skill) : 0u;
}

void c_VTR3ObjectWater::ReleaseResources() {
    if (m_initialized) {
        ReleaseNoise();
        ReleaseResourcesBase();
    }
}

void c_VTR3ObjectWater::RecreateResources() {
    if (m_initialized) {
        Build("c_VTR3ObjectWater::RecreateResources", __LINE__);
        RecreateResourcesBase();
    }
}

void c_VTR3ObjectWater::Initialize() {
    if (Build("c_VTR3ObjectWater::Initialize", __LINE__)) {
        InitializeBase();
    }
}

void c_VTR3ObjectWater::DeInitialize() {
    if (m_initialized) {
        ReleaseNoise();
        DeInitializeBase();
    }
}

// All three resources or none: a build that stops early gives back what it made and leaves the
// object as it was; a complete one replaces what the object held.
bool c_VTR3ObjectWater::Build(const char* method, int line) {
    const float half = m_skills[0] / 2.0f;
    const float repeat = m_skills[1];
    const WaterVertex vertices[VERTICES] = {
        {-half, 0.0f, -half, 0.0f, repeat},
        {-half, 0.0f, half, 0.0f, 0.0f},
        {half, 0.0f, -half, repeat, repeat},
        {half, 0.0f, half, repeat, 0.0f},
    };
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    if (!CreateBuffers(kBufferTexts, method, line, vertices, sizeof(vertices), FVF, kIndices,
                       sizeof(kIndices), &vertexBuffer, &indexBuffer)) {
        return false;
    }
    const UINT size = NoiseSize(m_skills[2]);
    IDirect3DTexture9* noise = nullptr;
    const HRESULT result =
        g_device->CreateTexture(size, size, 1, D3DUSAGE_DYNAMIC, D3DFMT_V8U8, D3DPOOL_DEFAULT, &noise, NULL);
    if (FAILED(result)) {
        g_debugSystem.LogDirectXError(kBufferTexts.sourceFile, line, method, result, "%s",
                                      "Fehler beim erstellen einer spezialisierten Objekttextur");
        vertexBuffer->Release();
        indexBuffer->Release();
        return false;
    }
    FillNoise(noise, size);
    SetProjectionMatrices(&m_matTextureReflection, &m_matTextureRefraction);
    ReplaceBuffers(vertexBuffer, indexBuffer);
    VTR3ReleaseReference(m_noiseTexture);
    m_noiseTexture = noise;
    return true;
}

// Turns the texture coordinates by 0.009 radians per millisecond and scales them by 0.03.
void c_VTR3ObjectWater::Update() {
    if (!m_initialized) {
        return;
    }
    const DWORD ticks = GetTickCount();
    const float angle = static_cast<float>(static_cast<double>(ticks) * kRadiansPerMillisecond);
    const float c = static_cast<float>(cos(static_cast<double>(angle)) * kBumpScale);
    const float s = static_cast<float>(sin(static_cast<double>(angle)) * kBumpScale);
    m_matBumpWave._11 = c;
    m_matBumpWave._12 = -s;
    m_matBumpWave._21 = s;
    m_matBumpWave._22 = c;
}

void c_VTR3ObjectWater::Render() {
    if (!m_initialized || !g_device) {
        return;
    }
    PrepareRender();
    g_device->SetStreamSource(0, m_vertexBuffer, 0, VERTEX_SIZE);
    g_device->SetIndices(m_indexBuffer);
    g_device->SetFVF(FVF);
    // Without an effect (the effect manager has said why) there is nothing to draw with.
    ID3DXEffect* effect = g_effectManager.GetEffect(m_effectId);
    if (effect && m_vertexBuffer && m_indexBuffer) {
        Draw(effect);
    }
    ResetRender();
}

void c_VTR3ObjectWater::Draw(ID3DXEffect* effect) {
    effect->SetMatrix("matTextureRefraction", &m_matTextureRefraction);
    effect->SetMatrix("matTextureReflection", &m_matTextureReflection);
    effect->SetMatrix("matBumpWave", &m_matBumpWave);
    effect->SetTexture("entTex2", m_noiseTexture);
    // A technique the effect does not have draws nothing, rather than whichever one was current.
    const D3DXHANDLE technique =
        effect->GetTechniqueByName(m_flags[1] == 1 ? "Refract" : "ReflectAndRefract");
    if (!technique || FAILED(effect->SetTechnique(technique))) {
        return;
    }
    UINT passes = 0;
    if (FAILED(effect->Begin(&passes, 0))) {
        return;
    }
    for (UINT pass = 0; pass < passes; ++pass) {
        effect->BeginPass(pass);
        g_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, VERTICES, 0, INDICES / 3);
        effect->EndPass();
    }
    effect->End();
}
