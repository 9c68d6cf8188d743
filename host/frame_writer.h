// vantor-run --out: the frames written as PNG files. On Linux the back buffer's pixels are copied on
// the render thread into one of a few reused buffers and a writer thread encodes and writes them, so
// that drawing the next frame does not wait for zlib; on Windows each frame is written through D3DX
// before the next is drawn.
#ifndef VTR3_HOST_FRAME_WRITER_H
#define VTR3_HOST_FRAME_WRITER_H

#include <windows.h>
#include <d3d9.h>

#include <chrono>
#include <memory>
#include <string>

namespace host {

class FrameWriter {
  public:
    FrameWriter();
    ~FrameWriter(); // waits for the frames handed over; a failure at that point is not reported
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Hands the device's back buffer over to be written to `path`. Throws host::Error naming the frame
    // and the file when reading the back buffer fails, or when an earlier frame could not be written.
    void Write(IDirect3DDevice9* device, int frame, const std::string& path);
    // Waits until every frame handed over is on disk; throws host::Error for the first that failed.
    void Finish();
    // When the first frame handed over was on disk; the clock's epoch while none is.
    std::chrono::steady_clock::time_point FirstWritten() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace host

#endif
