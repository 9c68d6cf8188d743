#include "image/resample.h"

#include <d3dx9.h>

#include <algorithm>
#include <cmath>

namespace platform::image {
namespace {

Color Scaled(const Color& c, float w) {
    return Color{c.r * w, c.g * w, c.b * w, c.a * w};
}
void Accumulate(Color* sum, const Color& c, float w) {
    sum->r += c.r * w;
    sum->g += c.g * w;
    sum->b += c.b * w;
    sum->a += c.a * w;
}

// One destination texel along an axis of `count` source texels, read through `at(i)`.
template <typename At> Color SampleAxis(At at, UINT count, UINT target, UINT index, Filter filter) {
    const double scale = static_cast<double>(count) / target;
    switch (filter) {
    case Filter::None:
        return index < count ? at(index) : Color{};
    case Filter::Point:
        return at(std::min<UINT>(static_cast<UINT>((index + 0.5) * scale), count - 1));
    case Filter::Linear: {
        const double centre = std::clamp((index + 0.5) * scale - 0.5, 0.0, static_cast<double>(count - 1));
        const UINT low = static_cast<UINT>(centre);
        const UINT high = std::min(low + 1, count - 1);
        const float t = static_cast<float>(centre - low);
        Color c = Scaled(at(low), 1.0f - t);
        Accumulate(&c, at(high), t);
        return c;
    }
    case Filter::Box: {
        const double begin = index * scale;
        const double end = (index + 1) * scale;
        Color sum;
        for (UINT i = static_cast<UINT>(begin); i < count && i < end; ++i) {
            const double covered = std::min<double>(i + 1, end) - std::max<double>(i, begin);
            Accumulate(&sum, at(i), static_cast<float>(covered / scale));
        }
        return sum;
    }
    }
    return Color{};
}

// Resizes one axis: `stride` is the distance between neighbours along it, `outer` and `inner` the
// counts of lines across it.
std::vector<Color> ResampleAxis(const std::vector<Color>& source, Extent from, Extent to, int axis,
                                Filter filter) {
    const UINT counts[3] = {from.width, from.height, from.depth};
    const UINT targets[3] = {to.width, to.height, to.depth};
    Extent out = from;
    (axis == 0 ? out.width : axis == 1 ? out.height : out.depth) = targets[axis];
    std::vector<Color> result(std::size_t{out.width} * out.height * out.depth);
    for (UINT z = 0; z < out.depth; ++z) {
        for (UINT y = 0; y < out.height; ++y) {
            for (UINT x = 0; x < out.width; ++x) {
                const UINT at[3] = {x, y, z};
                auto read = [&](UINT i) {
                    UINT p[3] = {at[0], at[1], at[2]};
                    p[axis] = i;
                    return source[(std::size_t{p[2]} * from.height + p[1]) * from.width + p[0]];
                };
                result[(std::size_t{z} * out.height + y) * out.width + x] =
                    SampleAxis(read, counts[axis], targets[axis], at[axis], filter);
            }
        }
    }
    return result;
}

} // namespace

Filter FilterFromD3DX(DWORD filter) {
    switch (filter & 0xff) {
    case D3DX_FILTER_NONE:
        return Filter::None;
    case D3DX_FILTER_POINT:
        return Filter::Point;
    case D3DX_FILTER_LINEAR:
        return Filter::Linear;
    default:
        return Filter::Box;
    }
}

std::vector<Color> Resample(const std::vector<Color>& source, Extent from, Extent to, Filter filter) {
    std::vector<Color> current = source;
    Extent extent = from;
    const UINT targets[3] = {to.width, to.height, to.depth};
    for (int axis = 0; axis < 3; ++axis) {
        const UINT size = axis == 0 ? extent.width : axis == 1 ? extent.height : extent.depth;
        if (size == targets[axis])
            continue;
        current = ResampleAxis(current, extent, to, axis, filter);
        (axis == 0 ? extent.width : axis == 1 ? extent.height : extent.depth) = targets[axis];
    }
    return current;
}

} // namespace platform::image
