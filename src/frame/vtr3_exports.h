// The plug-in's exported functions. Every one takes the engine's numbers and strings and returns a var.
#ifndef VTR3_EXPORTS_H
#define VTR3_EXPORTS_H

#include "frame/a6_engine.h"
#include "frame/vtr3_api.h"

VTR3_API int A6_DLLAPI(a6::InterfaceBlock* block);

// Frame and life cycle.
VTR3_API var VTR3Initialize(var logSwitch, a6::String* windowTitle);
VTR3_API var VTR3DeInitialize();
VTR3_API var VTR3ReleaseResources();
VTR3_API var VTR3RecreateResources();
VTR3_API var VTR3ReleaseMemory();
VTR3_API var VTR3SwitchResolution();

// Render events: the engine calls A when it begins drawing a view, D when it has drawn it; E draws
// one object on request.
VTR3_API var VTR3RenderDrawA();
VTR3_API var VTR3RenderDrawB();
VTR3_API var VTR3RenderDrawC();
VTR3_API var VTR3RenderDrawD();
VTR3_API var VTR3RenderDrawE(var objectId);

// Views.
VTR3_API var VTR3ViewRegister(var id, a6::String* name);
VTR3_API var VTR3ViewUnregister(var id);
VTR3_API var VTR3ViewSetClipPlane(var id, a6::String* point, a6::String* normal, var enable);
VTR3_API var VTR3ViewSetMirrorPlane(var id, a6::String* point, a6::String* normal, var enable);
VTR3_API var VTR3ViewSetHDR(var id, var value);
VTR3_API var VTR3ViewSetRTT(var id, var value);
VTR3_API var VTR3ViewSetRenderToDepthTexture(var id, var value);
VTR3_API var VTR3ViewSetSmoothShadows(var id, var value);
VTR3_API var VTR3ViewSetPostProcessing(var id, var value);
VTR3_API var VTR3ViewSetPostProcessingEffect(var id, var index, var effectId);

// Textures: a rejected kind, format, usage or side returns the var 1 and calls nothing.
VTR3_API var VTR3TexCreate(var id, var kind);
VTR3_API var VTR3TexDelete(var id);
VTR3_API var VTR3TexInitialize(var id);
VTR3_API var VTR3TexSetPath(var id, a6::String* path);
VTR3_API var VTR3TexSetFormat(var id, var format);
VTR3_API var VTR3TexSetSize(var id, var width, var height);
VTR3_API var VTR3TexSetUsage(var id, var usage);
VTR3_API var VTR3TexSetViewID(var id, var side, var viewId);

// Effects.
VTR3_API var VTR3EffectCreate(var id);
VTR3_API var VTR3EffectDelete(var id);
VTR3_API var VTR3EffectInitialize(var id);
VTR3_API var VTR3EffectSetPath(var id, a6::String* path);
VTR3_API var VTR3EffectSetTex(var id, var index, var textureId);
VTR3_API var VTR3EffectSetValue(var id, var index, var value);

// Objects: a kind other than 1 (sky), 2 (water) or 3 (engine mesh) returns the var 1 and calls
// nothing. Positions and scales arrive in the engine's axis order (z up) and go on as (x, z, y).
VTR3_API var VTR3ObjectCreate(var id, var kind);
VTR3_API var VTR3ObjectDelete(var id);
VTR3_API var VTR3ObjectInitialize(var id);
VTR3_API var VTR3ObjectSetEffect(var id, var effectId);
VTR3_API var VTR3ObjectSetTexture(var id, var stage, var textureId);
VTR3_API var VTR3ObjectSetSkill(var id, var index, var value);
VTR3_API var VTR3ObjectSetFlag(var id, var index, var value);
VTR3_API var VTR3ObjectSetPosition(var id, var x, var y, var z);
VTR3_API var VTR3ObjectSetRotation(var id, var a, var b, var c);
VTR3_API var VTR3ObjectSetScalation(var id, var x, var y, var z);

#endif
