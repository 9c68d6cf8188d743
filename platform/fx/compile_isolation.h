// Runs CompileShader in a forked child that touches no GL and hands the result back through a pipe,
// so a crash or a hang of glslang on hostile input costs an error message, not the host process.
#ifndef VTR3_PLATFORM_FX_COMPILE_ISOLATION_H
#define VTR3_PLATFORM_FX_COMPILE_ISOLATION_H

#include "fx/shader_compiler.h"

namespace platform::fx {

// Fails with a message when the child crashes, hangs past the timeout or cannot be started.
void CompileIsolated(const ShaderRequest& request, ShaderResult* result, int timeoutMilliseconds = 20000);

// Exposed for tests: the wire format between child and parent.
std::string SerializeResult(const ShaderResult& result);
bool DeserializeResult(const std::string& bytes, ShaderResult* result);

} // namespace platform::fx

#endif
