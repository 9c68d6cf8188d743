// The channel between the effect framework and the vtr3-shaderc program: length-prefixed frames
// over a stream socket, one request and one result per compile. Both sides are built from this
// file, so the format has no version of its own.
#ifndef VTR3_PLATFORM_FX_COMPILER_WIRE_H
#define VTR3_PLATFORM_FX_COMPILER_WIRE_H

#include "fx/shader_request.h"

#include <chrono>
#include <optional>
#include <string>

namespace platform::fx {

// The program's end of the channel is always this descriptor.
constexpr int kCompilerChannelFd = 3;

std::string SerializeRequest(const ShaderRequest& request);
bool DeserializeRequest(const std::string& bytes, ShaderRequest* request);
std::string SerializeResult(const ShaderResult& result);
bool DeserializeResult(const std::string& bytes, ShaderResult* result);

// Both give up at the deadline; without one they wait for ever (the program's side). False on a
// timeout, end of stream, error or an oversized frame.
using Deadline = std::optional<std::chrono::steady_clock::time_point>;
bool SendFrame(int fd, const std::string& payload, Deadline deadline);
bool ReceiveFrame(int fd, std::string* payload, Deadline deadline);

} // namespace platform::fx

#endif
