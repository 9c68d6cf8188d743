// What the scene objects read from the engine's interface block while they draw: its current
// matrices, its mesh and the position of the view being rendered.
#ifndef VTR3_ENGINESCENE_H
#define VTR3_ENGINESCENE_H

#include <d3dx9.h>

#include "frame/a6_engine.h"

// A copy of the matrix the block points at (view, projection or world); the identity while the
// engine shows none.
D3DXMATRIX VTR3EngineMatrix(a6::BlockOffset offset);

// The engine's current mesh, or null.
ID3DXMesh* VTR3EngineMesh();

#endif
