// The library-wide objects live in this one file so that they are constructed in this order when the
// library is loaded and destroyed in the reverse order when it is unloaded: the log goes last, so the
// managers can still report an unfinished shut-down into it.
#include "frame/vtr3_globals.h"

#include "debug/vtr3_debugSystem.h"
#include "objects/vtr3_objects.h"
#include "render/vtr3_postProcessor.h"
#include "render/vtr3_renderer.h"
#include "resources/vtr3_effects.h"
#include "resources/vtr3_textures.h"
#include "views/vtr3_views.h"

c_VTR3DebugSystem g_debugSystem;
c_VTR3ViewManager g_viewManager;
c_VTR3TextureManager g_textureManager;
c_VTR3EffectManager g_effectManager;
c_VTR3Renderer g_renderer;
c_VTR3ObjectManager g_objectManager;
c_VTR3PostProcessor g_postProcessor;

HWND g_window = NULL;
IDirect3D9* g_direct3D = NULL;
IDirect3DDevice9* g_device = NULL;
D3DCAPS9 g_deviceCaps;

a6::InterfaceBlock* g_engine = NULL;
