// c_VTR3ObjectEngineMesh draws the engine's current mesh with the engine's current world matrix,
// through the plug-in's drawing of objects by identifier.
#ifndef VTR3_OBJECTENGINEMESH_H
#define VTR3_OBJECTENGINEMESH_H

#include "objects/vtr3_3dobject.h"

class c_VTR3ObjectEngineMesh : public c_VTR3Object3D {
  public:
    c_VTR3ObjectEngineMesh() : m_engineMesh(nullptr) {}

    // Draws in every state; it restores no device state afterwards.
    void Render() override;

  private:
    ID3DXMesh* m_engineMesh; // the engine's, not owned
};

#endif
