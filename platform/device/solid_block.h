// The 4x4 block of a DXT format that decodes to one colour in every texel, for ColorFill.
#ifndef VTR3_PLATFORM_DEVICE_SOLID_BLOCK_H
#define VTR3_PLATFORM_DEVICE_SOLID_BLOCK_H

#include <d3d9types.h>

#include <cstdint>

namespace platform::device {

// Writes the block and answers its size (8 or 16 bytes); 0 for a format that is not DXT1 to DXT5.
unsigned SolidBlock(D3DFORMAT format, D3DCOLOR color, std::uint8_t block[16]);

} // namespace platform::device

#endif
