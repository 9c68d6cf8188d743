#include "engine_view.h"

namespace host {

a6::View NewView() {
    a6::View view{};
    SetViewArc(view, kDefaultViewArc);
    return view;
}

void SetViewPosition(a6::View& view, double x, double y, double z) {
    view.word[a6::kViewX] = a6::VarFromDouble(x);
    view.word[a6::kViewY] = a6::VarFromDouble(y);
    view.word[a6::kViewZ] = a6::VarFromDouble(z);
}

void SetViewAngles(a6::View& view, double pan, double tilt, double roll) {
    view.word[a6::kViewPan] = a6::VarFromDouble(pan);
    view.word[a6::kViewTilt] = a6::VarFromDouble(tilt);
    view.word[a6::kViewRoll] = a6::VarFromDouble(roll);
}

void SetViewArc(a6::View& view, double arc) {
    view.word[a6::kViewArc] = a6::VarFromDouble(arc);
}

void SetViewLayer(a6::View& view, int layer) {
    view.word[a6::kViewLayer] = a6::VarFromInt(layer);
}

void SetViewSize(a6::View& view, int width, int height) {
    view.word[kViewSizeX] = a6::VarFromInt(width);
    view.word[kViewSizeY] = a6::VarFromInt(height);
}

} // namespace host
