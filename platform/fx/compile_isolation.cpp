#include "fx/compile_isolation.h"

#include "fx/diagnostics.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform::fx {
namespace {

void PutInt(std::string* out, std::int64_t value) {
    out->append(reinterpret_cast<const char*>(&value), sizeof(value));
}
void PutString(std::string* out, const std::string& text) {
    PutInt(out, static_cast<std::int64_t>(text.size()));
    out->append(text);
}

class Reader {
  public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool Int(std::int64_t* value) {
        if (bytes_.size() - pos_ < sizeof(*value))
            return false;
        std::memcpy(value, bytes_.data() + pos_, sizeof(*value));
        pos_ += sizeof(*value);
        return true;
    }
    bool Int(int* value) {
        std::int64_t v = 0;
        if (!Int(&v))
            return false;
        *value = static_cast<int>(v);
        return true;
    }
    bool String(std::string* text) {
        std::int64_t n = 0;
        if (!Int(&n) || n < 0 || static_cast<std::uint64_t>(n) > bytes_.size() - pos_)
            return false;
        text->assign(bytes_, pos_, static_cast<std::size_t>(n));
        pos_ += static_cast<std::size_t>(n);
        return true;
    }
    bool Done() const { return pos_ == bytes_.size(); }

  private:
    const std::string& bytes_;
    std::size_t pos_ = 0;
};

void Fail(ShaderResult* result, const std::string& text) {
    *result = ShaderResult{};
    CompilerMessage m;
    m.code = code::kInternal;
    m.column = 1;
    m.text = text;
    result->messages.push_back(m);
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads until end of file or the deadline; false on timeout.
bool ReadAll(int fd, std::string* bytes, int timeoutMilliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = read(fd, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        bytes->append(buffer, static_cast<std::size_t>(n));
    }
}

} // namespace

std::string SerializeResult(const ShaderResult& r) {
    std::string out;
    PutInt(&out, r.ok ? 1 : 0);
    PutString(&out, r.glsl);
    PutInt(&out, r.constantRegisters);
    PutInt(&out, static_cast<std::int64_t>(r.messages.size()));
    for (const CompilerMessage& m : r.messages) {
        PutInt(&out, m.line);
        PutInt(&out, m.column);
        PutInt(&out, m.warning ? 1 : 0);
        PutInt(&out, m.code);
        PutString(&out, m.text);
    }
    PutInt(&out, static_cast<std::int64_t>(r.uniforms.size()));
    for (const ShaderUniform& u : r.uniforms) {
        PutString(&out, u.name);
        PutInt(&out, u.registers);
    }
    PutInt(&out, static_cast<std::int64_t>(r.samplers.size()));
    for (const std::string& s : r.samplers)
        PutString(&out, s);
    return out;
}

bool DeserializeResult(const std::string& bytes, ShaderResult* r) {
    *r = ShaderResult{};
    Reader in(bytes);
    int ok = 0;
    std::int64_t n = 0;
    if (!in.Int(&ok) || !in.String(&r->glsl) || !in.Int(&r->constantRegisters) || !in.Int(&n))
        return false;
    r->ok = ok != 0;
    for (std::int64_t i = 0; i < n; ++i) {
        CompilerMessage m;
        int warning = 0;
        if (!in.Int(&m.line) || !in.Int(&m.column) || !in.Int(&warning) || !in.Int(&m.code) ||
            !in.String(&m.text))
            return false;
        m.warning = warning != 0;
        r->messages.push_back(m);
    }
    if (!in.Int(&n))
        return false;
    for (std::int64_t i = 0; i < n; ++i) {
        ShaderUniform u;
        if (!in.String(&u.name) || !in.Int(&u.registers))
            return false;
        r->uniforms.push_back(u);
    }
    if (!in.Int(&n))
        return false;
    for (std::int64_t i = 0; i < n; ++i) {
        std::string s;
        if (!in.String(&s))
            return false;
        r->samplers.push_back(s);
    }
    return in.Done();
}

void CompileIsolated(const ShaderRequest& request, ShaderResult* result, int timeoutMilliseconds) {
    // Children inherit glslang's built-in tables warm, instead of building them for every compile.
    WarmCompiler();
    int fds[2];
    if (pipe(fds) != 0) {
        Fail(result, "internal: cannot start the shader compiler");
        return;
    }
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        Fail(result, "internal: cannot start the shader compiler");
        return;
    }
    if (child == 0) {
        close(fds[0]);
        ShaderResult compiled;
        CompileShader(request, &compiled);
        _exit(WriteAll(fds[1], SerializeResult(compiled)) ? 0 : 1);
    }
    close(fds[1]);
    std::string bytes;
    const bool finished = ReadAll(fds[0], &bytes, timeoutMilliseconds);
    close(fds[0]);
    if (!finished)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished) {
        Fail(result, "internal compiler error: the shader compiler did not finish in time");
    } else if (WIFSIGNALED(status)) {
        Fail(result, "internal compiler error: the shader compiler crashed (signal " +
                         std::to_string(WTERMSIG(status)) + ")");
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !DeserializeResult(bytes, result)) {
        Fail(result, "internal compiler error: the shader compiler failed");
    }
}

} // namespace platform::fx
