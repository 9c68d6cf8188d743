// ProcessVertices for the fixed-function pipeline: the vertices the draws would read, transformed to
// screen space (and lit, with D3DRS_LIGHTING on) into a buffer of pre-transformed vertices. With a
// vertex shader or an effect's vertex program set, the call is refused.
#include "device/device.h"

#include "device/buffer.h"
#include "device/device_draw_path.h"
#include "device/device_state.h"
#include "device/fixed_function/program_keys.h"
#include "device/fixed_function/uniform_blocks.h"
#include "device/fvf_elements.h"
#include "device/process_vertices.h"
#include "device/vertex_declaration.h"

#include <d3dx9math.h>

namespace platform::device {

HRESULT Device::ProcessVertices(UINT sourceStart, UINT destinationIndex, UINT count,
                                IDirect3DVertexBuffer9* destination, IDirect3DVertexDeclaration9* declaration,
                                DWORD flags) {
    const DeviceLock lock(this);
    VertexBuffer* target = destination ? VertexBuffer::From(destination) : nullptr;
    auto* output = dynamic_cast<VertexDeclaration*>(declaration);
    if (!target || target->Owner() != this || target->Desc().FVF == 0 ||
        (declaration && (!output || output->Owner() != this)))
        return D3DERR_INVALIDCALL;
    // The destination's format describes the output, or the declaration given when it stands for one.
    DWORD outFvf = target->Desc().FVF;
    FvfLayout out;
    if ((output && !FvfOfElements(output->Elements(), &outFvf)) || !DecodeFvf(outFvf, &out) ||
        out.position != PositionKind::kXyzRhw)
        return D3DERR_INVALIDCALL;
    const VertexInput* input = &CurrentInput();
    const std::uint64_t end = std::uint64_t{destinationIndex} + count;
    if (count == 0 || !CanProcess(*input) || drawPath_->shaderVertexProgram ||
        !StreamsHold(std::uint64_t{sourceStart} + count) || end * out.size > target->Desc().Size)
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;

    VertexProcessing processing{};
    D3DXMATRIX worldView;
    D3DXMatrixMultiply(&worldView, static_cast<const D3DXMATRIX*>(&state_->world[0]),
                       static_cast<const D3DXMATRIX*>(&state_->view));
    D3DXMatrixMultiply(static_cast<D3DXMATRIX*>(&processing.worldViewProjection), &worldView,
                       static_cast<const D3DXMATRIX*>(&state_->projection));
    processing.viewport = viewport_;
    processing.clipping = state_->renderStates[D3DRS_CLIPPING] != 0;
    processing.copyData = !(flags & D3DPV_DONOTCOPYDATA);
    VertexProgramKey key;
    BuildVertexProgramKey(*state_, input->layout, &key);
    FixedVertexBlock block{};
    if (key.lighting) {
        FillFixedVertexBlock(*state_, viewport_, &block);
        processing.lightingKey = &key;
        processing.lightingBlock = &block;
    }
    SourceStream sources[kStreams];
    bool readable = true;
    for (unsigned s = 0; s < kStreams; ++s) {
        void* data = nullptr;
        if (!(input->streams & (1u << s)))
            continue;
        if (FAILED(streams_[s].buffer->Lock(0, 0, &data, D3DLOCK_READONLY))) {
            readable = false;
            continue;
        }
        sources[s] = SourceStream{static_cast<const std::uint8_t*>(data) + streams_[s].offset +
                                      std::size_t{sourceStart} * streams_[s].stride,
                                  streams_[s].stride};
    }
    void* written = nullptr;
    HRESULT result = readable ? target->Lock(destinationIndex * out.size, count * out.size, &written,
                                             flags & (D3DLOCK_DISCARD | D3DLOCK_NOOVERWRITE))
                              : D3DERR_INVALIDCALL;
    if (SUCCEEDED(result)) {
        ProcessVertexRange(*input, sources, count, out, out.size, static_cast<std::uint8_t*>(written),
                           processing);
        result = target->Unlock();
    }
    for (unsigned s = 0; s < kStreams; ++s)
        if (sources[s].data)
            streams_[s].buffer->Unlock();
    return result;
}

} // namespace platform::device
