// The frame writer on Windows: each frame through D3DX on the render thread.
#include "frame_writer.h"

#include "back_buffer.h"
#include "host_error.h"

namespace host {

struct FrameWriter::State {
    std::chrono::steady_clock::time_point firstWritten{};
};

FrameWriter::FrameWriter() : state_(std::make_unique<State>()) {}
FrameWriter::~FrameWriter() = default;

void FrameWriter::Write(IDirect3DDevice9* device, int frame, const std::string& path) {
    const HRESULT result = SaveBackBufferPng(device, path);
    if (FAILED(result))
        throw Error(FrameWriteFailure(frame, path, result));
    if (state_->firstWritten == std::chrono::steady_clock::time_point{})
        state_->firstWritten = std::chrono::steady_clock::now();
}

void FrameWriter::Finish() {}

std::chrono::steady_clock::time_point FrameWriter::FirstWritten() const {
    return state_->firstWritten;
}

} // namespace host
