// Resizing of colour volumes (a 2D image is a volume of depth 1), one axis after the other, with the
// D3DX filters: point, linear (texel centres mapped as Direct3D maps them) and box, the area average
// that also builds every mip level from the one above it.
#ifndef VTR3_PLATFORM_IMAGE_RESAMPLE_H
#define VTR3_PLATFORM_IMAGE_RESAMPLE_H

#include "image/pixel_format.h"

#include <vector>

namespace platform::image {

enum class Filter { None, Point, Linear, Box };

// The filter that a D3DX_FILTER_* value (its low byte) asks for. TRIANGLE is served by the box filter,
// which it equals for the halving of mip levels.
Filter FilterFromD3DX(DWORD filter);

struct Extent {
    UINT width, height, depth;
};

// Resizes `from` to `to`. Filter::None copies the overlapping corner and leaves transparent black
// beyond the source, as D3DX_FILTER_NONE does.
std::vector<Color> Resample(const std::vector<Color>& source, Extent from, Extent to, Filter filter);

} // namespace platform::image

#endif
