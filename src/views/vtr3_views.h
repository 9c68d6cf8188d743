// c_VTR3ViewManager registers the engine's views under the scripts' identifiers and keeps their
// options, clip and mirror planes, captured matrices and post-processing steps.
#ifndef VTR3_VIEWS_H
#define VTR3_VIEWS_H

#include <d3dx9.h>

#include "resources/vtr3_slotManager.h"

// One registered view. Default construction gives the fresh record.
struct ViewSlot {
    static const int POSTPROCESS_EFFECTS = 10;

    int id = 0;
    int inUse = 0;
    // The options hold whatever the script passed; consumers take exactly 1 as on.
    int highDynamicRange = 0;
    int renderToTexture = 0;
    int renderToDepthTexture = 0;
    int smoothShadows = 0;
    int useClipPlane = 0;
    int useMirrorPlane = 0;
    int postProcessing = 0;
    D3DXMATRIX matView = Identity();
    D3DXMATRIX matProjection = Identity();
    D3DXMATRIX matReflection = Identity();
    D3DXMATRIX matViewReflection = Identity();
    D3DXPLANE clipPlane = D3DXPLANE(0.0f, 0.0f, 0.0f, 0.0f);
    D3DXPLANE mirrorPlane = D3DXPLANE(0.0f, 0.0f, 0.0f, 0.0f);
    int postProcessEffects[POSTPROCESS_EFFECTS] = {};
    // The engine view this identifier stands for: compared, never dereferenced.
    const void* engineView = nullptr;

    // A view owns no graphics resources.
    void ReleaseResource() {}
    void Discard() {}

    static D3DXMATRIX Identity() {
        D3DXMATRIX identity;
        return *D3DXMatrixIdentity(&identity);
    }
};

class c_VTR3ViewManager : public c_VTR3SlotManager<ViewSlot> {
  public:
    c_VTR3ViewManager();
    ~c_VTR3ViewManager();
    c_VTR3ViewManager(const c_VTR3ViewManager&) = delete;
    c_VTR3ViewManager& operator=(const c_VTR3ViewManager&) = delete;

    void Initialize();
    void ReleaseResources();
    void RecreateResources();
    void WriteComponentInfo();

    // A null name registers no engine view (as an unknown one does) and shows as an empty text.
    void RegisterView(int id, const char* name);
    void UnregisterView(int id);
    int IsRegistered(int id);
    // 0 for a null pointer: a view registered under a name the engine did not know never matches.
    int GetViewID(const void* engineView);
    // Captures the engine's current view and projection matrices; only while it renders this view.
    void UpdateView(int id);

    void SetHighDynamicRange(int id, int value);
    void SetRenderToTexture(int id, int value);
    void SetRenderToDephtTexture(int id, int value);
    void SetSmoothShadows(int id, int value);
    void SetPostProcessing(int id, int value);
    int IsUsingHighDynamicRange(int id);
    int IsUsingRenderToTexture(int id);
    int IsUsingRenderToDepthTexture(int id);
    int IsUsingSmoothShadows(int id);
    int IsUsingPostProcessing(int id);

    // Point and normal in Direct3D axis order; an enable other than exactly 1 switches the plane off.
    void SetClipPlane(int id, const D3DXVECTOR3& point, const D3DXVECTOR3& normal, int enable);
    void SetMirrorPlane(int id, const D3DXVECTOR3& point, const D3DXVECTOR3& normal, int enable);
    int IsUsingClipPlane(int id);
    int IsUsingMirrorPlane(int id);
    void GetClipPlane(int id, D3DXPLANE* plane);
    void GetMirrorPlane(int id, D3DXPLANE* plane);

    // Indices outside 0 to 9 store nothing and read 0.
    void SetPostProcessEffect(int id, int index, int effectId);
    int GetPostProcessEffectID(int id, int index);

    void GetViewMatrix(int id, D3DXMATRIX* matrix);
    void GetProjectionMatrix(int id, D3DXMATRIX* matrix);
    void GetReflectionMatrix(int id, D3DXMATRIX* matrix);
    void GetViewReflectionMatrix(int id, D3DXMATRIX* matrix);

  private:
    ViewSlot* Find(int id, const char* method, int line) { return Lookup(id, method, line); }
    void SetOption(int ViewSlot::*option, int id, int value, const char* method, int line);
    int GetOption(int ViewSlot::*option, int id, const char* method, int line);
    void SetPlane(int ViewSlot::*flag, D3DXPLANE ViewSlot::*plane, int id, const D3DXVECTOR3& point,
                  const D3DXVECTOR3& normal, int enable, const char* method, int line);
    void GetPlane(int ViewSlot::*flag, D3DXPLANE ViewSlot::*plane, int id, D3DXPLANE* out, const char* method,
                  int line);
    void GetMatrix(D3DXMATRIX ViewSlot::*matrix, bool onlyWithMirror, int id, D3DXMATRIX* out,
                   const char* method, int line);
};

#endif
