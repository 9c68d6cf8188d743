// Flexible vertex formats as declaration elements and back, by Direct3D 9's table of equivalents:
// position (POSITION or POSITIONT), blend weights and the last beta's indices, normal, point size,
// the two colours and up to eight texture coordinate sets, in FVF order in stream 0.
#ifndef VTR3_PLATFORM_DEVICE_FVF_ELEMENTS_H
#define VTR3_PLATFORM_DEVICE_FVF_ELEMENTS_H

#include <d3d9types.h>

namespace platform::device {

// MAX_FVF_DECL_SIZE: the most elements a format gives, with the end element.
constexpr UINT kMaxFvfElements = MAXD3DDECLLENGTH + 1;

// Writes the elements and D3DDECL_END; *count leaves the end out. False for a format with reserved
// bits, an unknown position or five blend weights without a last beta.
bool ElementsOfFvf(DWORD fvf, D3DVERTEXELEMENT9 elements[kMaxFvfElements], UINT* count, UINT* vertexSize);
// The format whose elements are exactly these (up to D3DDECL_END); false when there is none.
bool FvfOfElements(const D3DVERTEXELEMENT9* elements, DWORD* fvf);

} // namespace platform::device

#endif
