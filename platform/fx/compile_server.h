// One running vtr3-shaderc program and its channel, as the effect framework's side sees it. A
// compile is sent, then its answer read, so that the caller can keep two programs busy at once. A
// crash or a hang costs the request that caused it; the next request starts a fresh program.
#ifndef VTR3_PLATFORM_FX_COMPILE_SERVER_H
#define VTR3_PLATFORM_FX_COMPILE_SERVER_H

#include "fx/shader_request.h"

#include <chrono>
#include <string>

#include <sys/types.h>

namespace platform::fx {

class CompileServer {
  public:
    using Clock = std::chrono::steady_clock;

    CompileServer() = default;
    CompileServer(const CompileServer&) = delete;
    CompileServer& operator=(const CompileServer&) = delete;
    ~CompileServer() { Stop(); }

    // Starts the program when none runs. False with the failure in result when the program cannot
    // start or take the request.
    bool Send(const ShaderRequest& request, Clock::time_point deadline, ShaderResult* result);
    // The answer to the request sent, or the failure: a crash, garbage, or no answer by the deadline.
    void Receive(Clock::time_point deadline, ShaderResult* result);

    int Fd() const { return fd_; }
    int Pid() const { return pid_ < 0 ? 0 : static_cast<int>(pid_); }

    // Ends the program and says how it ended. A program that failed its request is killed at once
    // (a crashed one is already a zombie, and its status stays the crash's); a healthy one gets a
    // moment to leave on the end of its stream.
    std::string Stop(bool failed = false);

  private:
    void Abandon(Clock::time_point deadline, ShaderResult* result);
    bool EndedWhileIdle() const;
    void Forget();
    bool Start(std::string* error);

    pid_t pid_ = -1;
    int fd_ = -1;
};

} // namespace platform::fx

#endif
