#include "render/vtr3_renderer.h"

#include <d3dx9.h>

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_deviceResources.h"
#include "frame/vtr3_engine.h"
#include "frame/vtr3_globals.h"
#include "objects/vtr3_objects.h"
#include "render/vtr3_postProcessor.h"
#include "resources/vtr3_textures.h"
#include "views/vtr3_views.h"

namespace {

const VTR3ManagerTexts kTexts = {
    "vtr3_renderer",
    "c_VTR3Renderer::~c_VTR3Renderer",
    "Das Rendercore ist nicht initialisiert. Funktion wird abgebrochen",
    "Das Rendercore wurde erfolreich initialisiert",
    "Das Rendercore wurde erfolgreich deinitialisiert",
    "Das Rendercore wurde nicht ordungsgem\xe4\xdft deinitialisiert.",
    0,
};

} // namespace

c_VTR3Renderer::c_VTR3Renderer()
    : c_VTR3ManagerLifecycle(kTexts), m_currentViewId(0), m_currentTextureId(0), m_savedTarget(nullptr),
      m_switchedTarget(nullptr) {}

c_VTR3Renderer::~c_VTR3Renderer() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3Renderer::Initialize() {
    MarkInitialized();
}

void c_VTR3Renderer::DeInitialize() {
    if (!CheckInitialized("c_VTR3Renderer::DeInitialize", __LINE__)) {
        return;
    }
    ReleaseAllData();
    MarkDeInitialized();
}

void c_VTR3Renderer::ReleaseResources() {
    if (CheckInitialized("c_VTR3Renderer::ReleaseResources", __LINE__)) {
        ReleaseRTS1();
        ReleaseRTS2();
    }
}

void c_VTR3Renderer::RecreateResources() {
    CheckInitialized("c_VTR3Renderer::RecreateResources", __LINE__);
}

void c_VTR3Renderer::ReleaseAllData() {
    if (CheckInitialized("c_VTR3Renderer::ReleaseAllData", __LINE__)) {
        ReleaseRTS1();
        ReleaseRTS2();
    }
}

void c_VTR3Renderer::ReleaseRTS1() {
    if (CheckInitialized("c_VTR3Renderer::ReleaseRTS1", __LINE__)) {
        VTR3ReleaseReference(m_savedTarget);
    }
}

void c_VTR3Renderer::ReleaseRTS2() {
    if (CheckInitialized("c_VTR3Renderer::ReleaseRTS2", __LINE__)) {
        VTR3ReleaseReference(m_switchedTarget);
    }
}

void c_VTR3Renderer::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Rendercore:", __TIMESTAMP__, __TIME__);
}

// The surfaces are held from stage A to the end of stage D of the same view and given back then,
// so no reference outlives the frame and none can name a texture deleted in between.
void c_VTR3Renderer::DropTargets() {
    VTR3ReleaseReference(m_savedTarget);
    VTR3ReleaseReference(m_switchedTarget);
}

bool c_VTR3Renderer::Redirect(IDirect3DSurface9* target) {
    DropTargets();
    if (!target) {
        return false;
    }
    if (FAILED(g_device->GetRenderTarget(0, &m_savedTarget)) || !m_savedTarget) {
        m_savedTarget = nullptr;
        target->Release();
        return false;
    }
    m_switchedTarget = target;
    g_device->SetRenderTarget(0, m_switchedTarget);
    return true;
}

// Level 0 of the view's texture, or of the cube face bound to the view; null when the view has no
// texture of either kind (the view is then drawn where the engine draws it).
IDirect3DSurface9* c_VTR3Renderer::RenderToTextureSurface(int viewId) {
    m_currentTextureId = g_textureManager.GetTextureID(viewId);
    switch (g_textureManager.GetType(m_currentTextureId)) {
    case 0:
        return g_textureManager.GetSurface(m_currentTextureId, 0);
    case 1:
        return g_textureManager.GetCubeSurface(
            m_currentTextureId, g_textureManager.GetCubeTextureSide(m_currentTextureId, viewId), 0);
    default:
        return nullptr;
    }
}

// Plane 0, in world space, clips what the engine draws after stage A; plane 1 carries the same
// plane into clip space and stays disabled.
void c_VTR3Renderer::SetClipPlanes(int viewId) {
    if (g_viewManager.IsUsingClipPlane(viewId) != 1) {
        g_device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
        return;
    }
    D3DXPLANE plane;
    g_viewManager.GetClipPlane(viewId, &plane);
    g_device->SetClipPlane(0, plane);
    g_device->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0);
    D3DXMATRIX view;
    D3DXMATRIX projection;
    D3DXMATRIX viewProjection;
    D3DXMATRIX inverse;
    D3DXMATRIX transposed;
    g_viewManager.GetViewMatrix(viewId, &view);
    g_viewManager.GetProjectionMatrix(viewId, &projection);
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    if (!D3DXMatrixInverse(&inverse, NULL, &viewProjection)) {
        // A singular view and projection carry no plane into clip space.
        static const FLOAT kZero[16] = {};
        inverse = D3DXMATRIX(kZero);
    }
    D3DXMatrixTranspose(&transposed, &inverse);
    D3DXPLANE clipSpace;
    D3DXPlaneTransform(&clipSpace, &plane, &transposed);
    g_device->SetClipPlane(1, clipSpace);
}

void c_VTR3Renderer::RenderDrawA() {
    m_currentViewId = g_viewManager.GetViewID(VTR3EngineView());
    // A start-up run again on an engine without a device leaves the managers initialised and nothing
    // to draw with: the view is then left as the engine draws it.
    if (!g_device) {
        m_currentViewId = 0;
    }
    const int view = m_currentViewId;
    if (view == 0) {
        return;
    }
    if (g_viewManager.IsUsingPostProcessing(view) == 1) {
        Redirect(g_postProcessor.PreparePostProcessing());
        g_objectManager.RenderObjects(c_VTR3ObjectManager::SKY_GROUP);
        return;
    }
    if (g_viewManager.IsUsingRenderToTexture(view) != 1) {
        return;
    }
    g_viewManager.UpdateView(view);
    Redirect(RenderToTextureSurface(view));
    g_objectManager.RenderObjects(c_VTR3ObjectManager::SKY_GROUP);
    SetClipPlanes(view);
}

void c_VTR3Renderer::RenderDrawD() {
    const int view = m_currentViewId;
    if (view == 0 || !g_device) {
        return;
    }
    // The post-processor reports itself when it cannot run, and draws nothing when stage A could not
    // redirect the view (it then has no final target).
    if (g_viewManager.IsUsingPostProcessing(view) == 1) {
        g_postProcessor.StartPostProcessing(m_savedTarget, view);
    }
    if (g_viewManager.IsUsingRenderToTexture(view) == 1) {
        if (g_viewManager.IsUsingClipPlane(view) == 1) {
            const float none[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            g_device->SetClipPlane(1, none);
            g_device->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE1);
        }
        if (m_savedTarget) {
            g_device->SetRenderTarget(0, m_savedTarget);
        }
    }
    DropTargets();
}

void c_VTR3Renderer::RenderDrawE(int objectId) {
    const a6::View* view = VTR3EngineView();
    if (view && a6::VarToInt(view->word[a6::kViewLayer]) >= 0) {
        g_objectManager.RenderObject(objectId);
    }
}
