// c_VTR3PostProcessor runs a view's chain of full-screen post-processing steps: each step draws one
// screen quad from the current image into the next target, and the last one into the render target
// that was current before the view was redirected.
#ifndef VTR3_POSTPROCESSOR_H
#define VTR3_POSTPROCESSOR_H

#include <d3d9.h>
#include <d3dx9.h>

#include "frame/vtr3_managerLifecycle.h"

class c_VTR3PostProcessor : public c_VTR3ManagerLifecycle {
  public:
    static const int STEPS = 10;
    // Step identifiers of the copies; any other nonzero identifier names an effect.
    static const int STEP_QUARTER_COPY = 30000;
    static const int STEP_HALF_COPY = 30001;
    static const int STEP_FULL_COPY = 30013;
    // Texture identifiers of the targets: the scene, then the full, half and quarter pairs.
    static const int TEXTURE_SCENE = 30000;
    static const int TEXTURE_FULL_A = 30001;
    static const int TEXTURE_FULL_B = 30002;
    static const int TEXTURE_HALF_A = 30003;
    static const int TEXTURE_HALF_B = 30004;
    static const int TEXTURE_QUARTER_A = 30005;
    static const int TEXTURE_QUARTER_B = 30006;
    // How many post-processed views remember which of their steps named a missing effect.
    static const int REMEMBERED_VIEWS = 8;

    c_VTR3PostProcessor();
    ~c_VTR3PostProcessor();
    c_VTR3PostProcessor(const c_VTR3PostProcessor&) = delete;
    c_VTR3PostProcessor& operator=(const c_VTR3PostProcessor&) = delete;

    void Initialize();
    void DeInitialize();
    void ReleaseResources();
    void RecreateResources();
    void WriteComponentInfo();

    // Level 0 of the scene target, with a reference for the caller; null when not initialised.
    IDirect3DSurface9* PreparePostProcessing();
    // Runs the view's steps; the last one draws into finalTarget, which stays render target 0.
    void StartPostProcessing(IDirect3DSurface9* finalTarget, int viewId);

  private:
    // The quads by size; a target of size width >> quad is exactly covered by its quad.
    enum Quad { QUAD_FULL, QUAD_HALF, QUAD_QUARTER, QUADS };

    // The steps of one view whose not-found rows were written: a missing effect is reported once
    // per view and step position until the view's step list changes.
    struct ReportedSteps {
        int viewId;
        int steps[STEPS];
        unsigned int positions; // bit j: the effect of step j was reported missing
    };

    bool CreateBuffers(const char* method, int line);
    void FillBuffers();
    void ReleaseBuffers();
    void CreateTargets();
    void LoadEffects();
    void SetChainState();
    // Makes the step's surface render target 0: finalTarget for the last step, else the level-0
    // surface of m_target, held. False when that target has no surface.
    bool SwitchTarget(bool last, IDirect3DSurface9* finalTarget);
    void SetQuad(Quad quad);
    void DrawQuad();
    void DrawCopy(Quad quad);
    void DrawEffect(ID3DXEffect* effect, int effectId, Quad quad);
    // The effect of step `position`, or null; a missing effect is asked for (and so reported) once.
    ID3DXEffect* FindEffect(int viewId, int position, int effectId);
    ReportedSteps* Remembered(int viewId);
    void HoldTargetSurface(IDirect3DSurface9* surface);

    unsigned int m_width;
    unsigned int m_height;
    int m_steps[STEPS];
    int m_source; // texture id of the image the next step reads; 0 is the scene target
    int m_target; // texture id the current step writes
    IDirect3DVertexBuffer9* m_quads[QUADS];
    IDirect3DIndexBuffer9* m_indices;
    IDirect3DSurface9* m_targetSurface; // one reference while a step draws into it
    ReportedSteps m_reported[REMEMBERED_VIEWS];
    int m_nextReported; // the record that a view not yet remembered replaces
};

#endif
