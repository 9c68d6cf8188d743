// c_VTR3ObjectManager owns the scene objects (sky, water, engine mesh) that scripts create by identifier,
// forwards the scripts' settings to them and draws them for the render core.
#ifndef VTR3_OBJECTS_H
#define VTR3_OBJECTS_H

#include "objects/vtr3_3dobject.h"
#include "resources/vtr3_slotManager.h"

// One object. Default construction gives the fresh record.
struct ObjectSlot {
    int id = 0;
    int inUse = 0;
    int objectType = 3;               // 0 sky, 1 water, 2 engine mesh, 3 none
    int renderGroup = 5;              // 0 for the sky (drawn with every view), 4 for objects drawn on request
    c_VTR3Object3D* object = nullptr; // owned

    // What the manager's release of all data asks of an object: its de-initialisation.
    void ReleaseResource() {
        if (object) {
            object->DeInitialize();
        }
    }
    // A de-initialised object is destroyed without a row; one still initialised warns as it goes.
    void Discard() {
        delete object;
        object = nullptr;
    }
};

class c_VTR3ObjectManager : public c_VTR3SlotManager<ObjectSlot> {
  public:
    enum ObjectType { SKY = 0, WATER = 1, ENGINE_MESH = 2 };
    // Render groups: the skies, drawn into a redirected view before the engine's scene, and the
    // objects drawn only on the script's request.
    enum RenderGroup { SKY_GROUP = 0, ON_REQUEST_GROUP = 4 };

    c_VTR3ObjectManager();
    ~c_VTR3ObjectManager();
    c_VTR3ObjectManager(const c_VTR3ObjectManager&) = delete;
    c_VTR3ObjectManager& operator=(const c_VTR3ObjectManager&) = delete;

    void Initialize();
    void ReleaseResources();
    void RecreateResources();
    void WriteComponentInfo();

    // Creates an uninitialised object; types other than 0 to 2 are refused.
    void CreateObject(int id, unsigned int type);
    void DeleteObject(int id);
    int IsCreated(int id);
    // The object's own initialisation, then the success row whatever its outcome.
    void InitializeObject(int id);

    void SetEffect(int id, int effectId);
    void SetFlag(int id, int index, int value);
    void SetSkill(int id, int index, float value);
    void SetTexture(int id, int stage, int textureId);
    void SetPosition(int id, float x, float y, float z);
    // Angles in degrees: a becomes the yaw, b the pitch, c the roll.
    void SetRotation(int id, float a, float b, float c);
    void SetScalation(int id, float x, float y, float z);

    // Update, then Render, of one object; of every object of a render group, in table order.
    void RenderObject(int id);
    void RenderObjects(int renderGroup);

    // The object of that identifier, or null; for tests. Writes no rows.
    c_VTR3Object3D* FindObject(int id);

  private:
    // The operation on every object in use, in table order.
    void ForEachObject(void (c_VTR3Object3D::*operation)());
};

#endif
