// Engine views as the stand-in engine sets them up: positions, angles and the field of view in the
// words the plug-in reads, in engine units (quants and degrees).
#ifndef VTR3_HOST_ENGINE_VIEW_H
#define VTR3_HOST_ENGINE_VIEW_H

#include "frame/a6_engine.h"

namespace host {

// The stand-in engine's own words of a view record: its size in pixels (0: the screen's).
constexpr int kViewSizeX = 17;
constexpr int kViewSizeY = 18;

// The field of view of a new view, in degrees.
constexpr double kDefaultViewArc = 60.0;

// A new view: layer 0, at the origin, looking along +x, with the default arc.
a6::View NewView();

void SetViewPosition(a6::View& view, double x, double y, double z);
void SetViewAngles(a6::View& view, double pan, double tilt, double roll);
void SetViewArc(a6::View& view, double arc);
void SetViewLayer(a6::View& view, int layer);
void SetViewSize(a6::View& view, int width, int height);

} // namespace host

#endif
