// ProcessVertices' arithmetic for the fixed-function pipeline: positions through world, view and
// projection to screen coordinates of the viewport (or left in projection space when clipping is on
// and they lie outside the view volume), colours lit when lighting is on, and colours and texture
// coordinate sets otherwise copied unless D3DPV_DONOTCOPYDATA says otherwise.
#ifndef VTR3_PLATFORM_DEVICE_PROCESS_VERTICES_H
#define VTR3_PLATFORM_DEVICE_PROCESS_VERTICES_H

#include "device/fixed_function/uniform_blocks.h"
#include "device/vertex_input.h"

#include <d3d9.h>

#include <cstdint>

namespace platform::device {

struct VertexProcessing {
    D3DMATRIX worldViewProjection;
    D3DVIEWPORT9 viewport;
    bool clipping;
    bool copyData;
    // With lighting on: the program key and uniform block a draw would use; null otherwise.
    const VertexProgramKey* lightingKey;
    const FixedVertexBlock* lightingBlock;
};

// Where a stream's first vertex to process starts, and its stride.
struct SourceStream {
    const std::uint8_t* data = nullptr;
    UINT stride = 0;
};

// Whether the input can be processed: untransformed positions, float attributes and D3DCOLOR colours.
bool CanProcess(const VertexInput& input);
// Writes `count` vertices of the output layout (pre-transformed positions), `outStride` apart.
void ProcessVertexRange(const VertexInput& input, const SourceStream* streams, UINT count,
                        const FvfLayout& out, UINT outStride, std::uint8_t* dest,
                        const VertexProcessing& processing);

} // namespace platform::device

#endif
