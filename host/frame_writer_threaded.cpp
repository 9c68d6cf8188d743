// The frame writer on Linux: the render thread copies the back buffer into one of kSlots reused
// buffers, a writer thread encodes and writes them in order. With every buffer waiting to be written,
// the render thread waits for the oldest: the queue is bounded, and so is the memory.
#include "frame_writer.h"

#include "back_buffer.h"
#include "host_error.h"
#include "platform_control.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace host {
namespace {

constexpr std::size_t kSlots = 3;

struct Slot {
    std::vector<std::uint8_t> pixels; // B, G, R, A rows, top down
    UINT width = 0;
    UINT height = 0;
    bool alpha = false;
    int frame = 0;
    std::string path;
};

} // namespace

struct FrameWriter::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::array<Slot, kSlots> slots;
    std::size_t first = 0; // the oldest slot waiting to be written
    std::size_t waiting = 0;
    bool stopping = false;
    std::string failure; // the first write that failed
    std::chrono::steady_clock::time_point firstWritten{};
    std::thread thread;
    // The system-memory copy of the back buffer, kept while its size and format stay the same.
    IDirect3DSurface9* copy = nullptr;
    D3DSURFACE_DESC copyDesc{};

    // Called with the mutex held, after a frame reached the disk.
    void NoteWritten() {
        if (firstWritten == std::chrono::steady_clock::time_point{})
            firstWritten = std::chrono::steady_clock::now();
    }

    void WriteQueued() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return waiting > 0 || stopping; });
            if (waiting == 0)
                return;
            const Slot& slot = slots[first]; // the render thread leaves it alone until it is counted out
            lock.unlock();
            const HRESULT result = platform::WritePngFile(slot.path.c_str(), slot.pixels.data(), slot.width,
                                                          slot.height, slot.alpha);
            lock.lock();
            if (FAILED(result) && failure.empty())
                failure = FrameWriteFailure(slot.frame, slot.path, result);
            if (SUCCEEDED(result))
                NoteWritten();
            first = (first + 1) % kSlots;
            --waiting;
            changed.notify_all();
        }
    }

    void Stop() {
        if (thread.joinable()) {
            {
                const std::lock_guard<std::mutex> lock(mutex);
                stopping = true;
            }
            changed.notify_all();
            thread.join();
        }
        if (copy) {
            copy->Release();
            copy = nullptr;
        }
    }

    // Copies the back buffer into the slot; S_FALSE, copying nothing, for a format other than 32-bit
    // B, G, R, A (or X).
    HRESULT Capture(IDirect3DDevice9* device, Slot* slot) {
        IDirect3DSurface9* backBuffer = nullptr;
        HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
        if (FAILED(result))
            return result;
        D3DSURFACE_DESC desc{};
        result = backBuffer->GetDesc(&desc);
        if (SUCCEEDED(result) && desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8)
            result = S_FALSE;
        if (result == D3D_OK && copy &&
            (desc.Width != copyDesc.Width || desc.Height != copyDesc.Height ||
             desc.Format != copyDesc.Format)) {
            copy->Release();
            copy = nullptr;
        }
        if (result == D3D_OK && !copy) {
            result = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                         D3DPOOL_SYSTEMMEM, &copy, nullptr);
            copyDesc = desc;
        }
        if (result == D3D_OK)
            result = device->GetRenderTargetData(backBuffer, copy);
        backBuffer->Release();
        D3DLOCKED_RECT locked{};
        if (result == D3D_OK)
            result = copy->LockRect(&locked, nullptr, D3DLOCK_READONLY);
        if (result != D3D_OK)
            return result;
        const std::size_t rowBytes = std::size_t{desc.Width} * 4;
        slot->pixels.resize(rowBytes * desc.Height);
        for (UINT y = 0; y < desc.Height; ++y)
            std::memcpy(slot->pixels.data() + y * rowBytes,
                        static_cast<const std::uint8_t*>(locked.pBits) + std::size_t{y} * locked.Pitch,
                        rowBytes);
        copy->UnlockRect();
        slot->width = desc.Width;
        slot->height = desc.Height;
        slot->alpha = desc.Format == D3DFMT_A8R8G8B8;
        return D3D_OK;
    }
};

FrameWriter::FrameWriter() : state_(std::make_unique<State>()) {}

FrameWriter::~FrameWriter() {
    state_->Stop();
}

void FrameWriter::Write(IDirect3DDevice9* device, int frame, const std::string& path) {
    State& state = *state_;
    std::unique_lock<std::mutex> lock(state.mutex);
    state.changed.wait(lock, [&] { return state.waiting < kSlots; });
    if (!state.failure.empty())
        throw Error(state.failure);
    Slot& slot = state.slots[(state.first + state.waiting) % kSlots]; // not the writer's while uncounted
    lock.unlock();
    HRESULT result = state.Capture(device, &slot);
    if (result == S_FALSE) {
        // Other back-buffer formats are rare: written through D3DX, after the frames before them.
        lock.lock();
        state.changed.wait(lock, [&] { return state.waiting == 0; });
        lock.unlock();
        result = SaveBackBufferPng(device, path);
        if (SUCCEEDED(result)) {
            lock.lock();
            state.NoteWritten();
            return;
        }
    }
    if (FAILED(result))
        throw Error(FrameWriteFailure(frame, path, result));
    slot.frame = frame;
    slot.path = path;
    lock.lock();
    ++state.waiting;
    if (!state.thread.joinable())
        state.thread = std::thread([&state] { state.WriteQueued(); });
    state.changed.notify_all();
}

void FrameWriter::Finish() {
    State& state = *state_;
    state.Stop();
    const std::lock_guard<std::mutex> lock(state.mutex);
    state.stopping = false;
    if (!state.failure.empty())
        throw Error(state.failure);
}

std::chrono::steady_clock::time_point FrameWriter::FirstWritten() const {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->firstWritten;
}

} // namespace host
