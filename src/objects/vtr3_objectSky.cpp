#include "objects/vtr3_objectSky.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_engine.h"
#include "frame/vtr3_globals.h"

namespace {

const c_VTR3Object3D::BufferTexts kBufferTexts = {
    "vtr3_objectSky",
    "Der Vertexbuffer eines Skyobjektes konnte nicht erstellt werden.",
    "Der Indexbuffer eines Skyobjects konnte nicht erstellt werden.",
};

// Twelve triangles, clockwise as seen from inside the box.
const WORD kIndices[c_VTR3ObjectSky::INDICES] = {
    0, 1, 2, 1, 3, 2, 2, 3, 4, 3, 5, 4, 4, 5, 6, 5, 7, 6,
    6, 7, 0, 7, 1, 0, 1, 7, 3, 7, 5, 3, 6, 0, 4, 0, 2, 4,
};

// Corner signs of the eight vertices (x, y, z).
const signed char kCorners[c_VTR3ObjectSky::VERTICES][3] = {
    {-1, -1, 1}, {-1, 1, 1}, {1, -1, 1}, {1, 1, 1}, {1, -1, -1}, {1, 1, -1}, {-1, -1, -1}, {-1, 1, -1},
};

struct SkyVertex {
    float x, y, z;
    float u, v, w; // the cube-texture direction: the position itself
};

} // namespace

void c_VTR3ObjectSky::ReleaseResources() {
    ReleaseResourcesBase();
}

void c_VTR3ObjectSky::RecreateResources() {
    if (m_initialized) {
        Build("c_VTR3ObjectSky::RecreateResources", __LINE__);
    }
    RecreateResourcesBase();
}

void c_VTR3ObjectSky::Initialize() {
    if (Build("c_VTR3ObjectSky::Initialize", __LINE__)) {
        InitializeBase();
    }
}

void c_VTR3ObjectSky::DeInitialize() {
    DeInitializeBase();
}

// Both buffers or neither: a failed build keeps what the sky held, a successful one replaces it.
bool c_VTR3ObjectSky::Build(const char* method, int line) {
    const float half = m_skills[0] / 2.0f;
    SkyVertex vertices[VERTICES];
    for (UINT i = 0; i < VERTICES; ++i) {
        const float x = kCorners[i][0] * half, y = kCorners[i][1] * half, z = kCorners[i][2] * half;
        vertices[i] = SkyVertex{x, y, z, x, y, z};
    }
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    if (!CreateBuffers(kBufferTexts, method, line, vertices, sizeof(vertices), FVF, kIndices,
                       sizeof(kIndices), &vertexBuffer, &indexBuffer)) {
        return false;
    }
    ReplaceBuffers(vertexBuffer, indexBuffer);
    return true;
}

// The engine's horizontal plane is Direct3D's x and z: the box stays centred on the viewer.
void c_VTR3ObjectSky::Update() {
    const a6::View* view = VTR3EngineView();
    if (m_initialized && view) {
        SetPosition(a6::VarToFloat(view->word[a6::kViewX]), m_skills[1],
                    a6::VarToFloat(view->word[a6::kViewY]));
    }
}

void c_VTR3ObjectSky::Render() {
    if (m_flags[0] == 1) {
        return;
    }
    PrepareRender();
    // After ReleaseResources there is nothing to draw until the buffers are built again.
    if (m_initialized && g_device && m_vertexBuffer && m_indexBuffer) {
        g_device->SetStreamSource(0, m_vertexBuffer, 0, VERTEX_SIZE);
        g_device->SetIndices(m_indexBuffer);
        g_device->SetFVF(FVF);
        g_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, VERTICES, 0, INDICES / 3);
        g_device->SetFVF(0);
    }
    ResetRender();
}
