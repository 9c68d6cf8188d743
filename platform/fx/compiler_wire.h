// The channel between the effect framework and the vtr3-shaderc program: length-prefixed frames
// over a stream socket, one request and one result per compile. Both sides are built from this
// file, so the format has no version of its own.
#ifndef VTR3_PLATFORM_FX_COMPILER_WIRE_H
#define VTR3_PLATFORM_FX_COMPILER_WIRE_H

#include "fx/shader_request.h"

#include <string>

namespace platform::fx {

// The program's end of the channel is always this descriptor.
constexpr int kCompilerChannelFd = 3;

std::string SerializeRequest(const ShaderRequest& request);
bool DeserializeRequest(const std::string& bytes, ShaderRequest* request);
std::string SerializeResult(const ShaderResult& result);
bool DeserializeResult(const std::string& bytes, ShaderResult* result);

bool SendFrame(int fd, const std::string& payload);
// A negative timeout waits for ever. False on a timeout, end of stream, error or an oversized frame.
bool ReceiveFrame(int fd, std::string* payload, int timeoutMilliseconds);

} // namespace platform::fx

#endif
