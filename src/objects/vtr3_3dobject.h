// c_VTR3Object3D is the common base of the renderable scene objects: the initialised state, the
// script's flags and skills, texture stages, effect and transform, a vertex and an index buffer, the
// six operations the object manager drives every object through, and the two helpers a derived
// Render brackets its drawing with (PrepareRender, ResetRender).
#ifndef VTR3_3DOBJECT_H
#define VTR3_3DOBJECT_H

#include <d3d9.h>
#include <d3dx9.h>

#include "frame/vtr3_deviceResources.h"

class c_VTR3Object3D {
  public:
    static const unsigned int FLAGS = 20;
    static const unsigned int SKILLS = 20;
    static const unsigned int STAGES = 6;

    // Where a derived class's geometry rows go and what they say.
    struct BufferTexts {
        const char* sourceFile;
        const char* vertexBufferFailed;
        const char* indexBufferFailed;
    };

    c_VTR3Object3D();
    // Destroying an object that is still initialised warns and de-initialises it first.
    virtual ~c_VTR3Object3D();
    c_VTR3Object3D(const c_VTR3Object3D&) = delete;
    c_VTR3Object3D& operator=(const c_VTR3Object3D&) = delete;

    // The operations through which the object manager drives every object, in slot order.
    virtual void ReleaseResources();
    virtual void RecreateResources();
    virtual void Initialize();
    virtual void DeInitialize();
    // Called right before Render.
    virtual void Update();
    virtual void Render();

    void InitializeBase();
    void DeInitializeBase();
    void ReleaseResourcesBase();
    void RecreateResourcesBase();

    // Flags and skills work in every state; the others need an initialised object.
    void SetFlag(unsigned int index, int value);
    void SetSkill(unsigned int index, float value);
    void SetEffect(int effectId);
    void SetTexture(unsigned int stage, int textureId);
    void SetPosition(float x, float y, float z);
    // Yaw, pitch and roll in radians.
    void SetRotation(float yaw, float pitch, float roll);
    void SetScalation(float x, float y, float z);

    // With an effect: the matrices, skills and stage textures go into it by parameter name. Without:
    // the object's stage-0 texture is bound (the device's saved), lighting off, the world transform set.
    void PrepareRender();
    // Puts the world transform, lighting and the saved stage-0 texture back.
    void ResetRender();

    // Inspection for tests.
    int IsInitialized() const { return m_initialized; }
    int GetFlag(unsigned int index) const { return index < FLAGS ? m_flags[index] : 0; }
    float GetSkill(unsigned int index) const { return index < SKILLS ? m_skills[index] : 0.0f; }
    const D3DXVECTOR3& GetPosition() const { return m_position; }
    const D3DXVECTOR3& GetRotation() const { return m_rotation; }
    const D3DXVECTOR3& GetScalation() const { return m_scale; }
    // T × R × S: moved by the position, then rotated and scaled about the world origin.
    D3DXMATRIX GetWorldMatrix() const;

  protected:
    // Writes the not-initialised error row for the method when the object is not initialised.
    bool CheckInitialized(const char* function, int line) const;
    // Creates a vertex and an index buffer in the managed pool and fills them. On failure the DirectX
    // error row is written and nothing is kept.
    static bool CreateBuffers(const BufferTexts& texts, const char* method, int line, const void* vertices,
                              UINT vertexBytes, DWORD fvf, const WORD* indices, UINT indexBytes,
                              IDirect3DVertexBuffer9** vertexBuffer, IDirect3DIndexBuffer9** indexBuffer);
    // Makes the buffers the object's (null for none); those it held are unbound and released.
    void ReplaceBuffers(IDirect3DVertexBuffer9* vertexBuffer, IDirect3DIndexBuffer9* indexBuffer);

    int m_initialized;
    int m_flags[FLAGS];
    IDirect3DVertexBuffer9* m_vertexBuffer; // one reference, owned
    IDirect3DIndexBuffer9* m_indexBuffer;   // one reference, owned
    // The device's stage-0 texture while the object's own is bound, with the reference GetTexture
    // added; given back once ResetRender has bound it again.
    IDirect3DBaseTexture9* m_savedStage0Texture;
    int m_textureIds[STAGES];
    int m_effectId;
    float m_skills[SKILLS];
    D3DXVECTOR3 m_position;
    D3DXVECTOR3 m_rotation; // x yaw, y pitch, z roll
    D3DXVECTOR3 m_scale;

  private:
    void PrepareEffect();
    void PrepareFixedFunction();
    // Set only by a fixed-function PrepareRender that read the device's stage 0, so that ResetRender
    // never binds a texture it did not take from the device in the same drawing.
    bool m_stage0Saved;
};

#endif
