// Runs CompileShader in a child process that touches no GL: forked once, kept warm, and fed requests
// through a socket pair. A crash or a hang of glslang on hostile input costs that compile an error
// message, not the host process; the next compile starts a fresh child.
#ifndef VTR3_PLATFORM_FX_COMPILE_ISOLATION_H
#define VTR3_PLATFORM_FX_COMPILE_ISOLATION_H

#include "fx/shader_compiler.h"

namespace platform::fx {

// Fails with a message when the child crashes, hangs past the timeout or cannot be started.
// Calls are serialised: one compile at a time.
void CompileIsolated(const ShaderRequest& request, ShaderResult* result, int timeoutMilliseconds = 20000);

// Exposed for tests: the wire format between child and parent.
std::string SerializeResult(const ShaderResult& result);
bool DeserializeResult(const std::string& bytes, ShaderResult* result);

} // namespace platform::fx

#endif
