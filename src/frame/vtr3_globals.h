// The library-wide objects and the device globals that every drawing part of the plug-in uses.
#ifndef VTR3_GLOBALS_H
#define VTR3_GLOBALS_H

#include <windows.h>
#include <d3d9.h>

#include "frame/a6_engine.h"

class c_VTR3DebugSystem;
class c_VTR3ViewManager;
class c_VTR3TextureManager;
class c_VTR3EffectManager;
class c_VTR3Renderer;
class c_VTR3ObjectManager;
class c_VTR3PostProcessor;

extern c_VTR3DebugSystem g_debugSystem;
extern c_VTR3ViewManager g_viewManager;
extern c_VTR3TextureManager g_textureManager;
extern c_VTR3EffectManager g_effectManager;
extern c_VTR3Renderer g_renderer;
extern c_VTR3ObjectManager g_objectManager;
extern c_VTR3PostProcessor g_postProcessor;

// Set by VTR3Initialize from the engine's interface block; they belong to the engine.
extern HWND g_window;
extern IDirect3D9* g_direct3D;
extern IDirect3DDevice9* g_device;
extern D3DCAPS9 g_deviceCaps;

// The engine's interface block, kept by A6_DLLAPI.
extern a6::InterfaceBlock* g_engine;

#endif
