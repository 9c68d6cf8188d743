#include "fx/compiler_wire.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <limits>

#include <poll.h>
#include <sys/socket.h>
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
        if (!Int(&v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
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
    if (!in.Int(&ok) || !in.String(&r->glsl) || !in.Int(&r->constantRegisters) || r->constantRegisters < 0 ||
        !in.Int(&n))
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
        if (!in.String(&u.name) || !in.Int(&u.registers) || u.registers < 0)
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

std::string SerializeRequest(const ShaderRequest& r) {
    std::string out;
    PutString(&out, r.hlsl);
    PutString(&out, r.entry);
    PutString(&out, r.profile);
    PutInt(&out, r.stage == ShaderStage::Vertex ? 0 : 1);
    return out;
}

bool DeserializeRequest(const std::string& bytes, ShaderRequest* r) {
    Reader in(bytes);
    int stage = 0;
    if (!in.String(&r->hlsl) || !in.String(&r->entry) || !in.String(&r->profile) || !in.Int(&stage))
        return false;
    r->stage = stage == 0 ? ShaderStage::Vertex : ShaderStage::Pixel;
    return in.Done();
}

namespace {

// Far above any effect's text or GLSL; a larger frame is corrupt, and is refused before anything
// is read into memory for it.
constexpr std::int64_t kMaxFrame = std::int64_t{64} << 20;

// Waits until the descriptor is ready for `events`; false once the deadline has passed.
bool Wait(int fd, short events, const Deadline& deadline) {
    for (;;) {
        // Rounded up, so that a timeout is never reported before the deadline.
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::min<std::int64_t>(left.count(), 1 << 30)));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

// Reads exactly `size` bytes.
bool ReceiveExactly(int fd, std::size_t size, std::string* out, const Deadline& deadline) {
    out->clear();
    char buffer[65536];
    while (out->size() < size) {
        if (deadline && !Wait(fd, POLLIN, deadline))
            return false;
        const ssize_t n =
            recv(fd, buffer, std::min(sizeof(buffer), size - out->size()), deadline ? MSG_DONTWAIT : 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        out->append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

bool SendFrame(int fd, const std::string& payload, Deadline deadline) {
    if (payload.size() > static_cast<std::uint64_t>(kMaxFrame))
        return false;
    std::string frame;
    PutInt(&frame, static_cast<std::int64_t>(payload.size()));
    frame += payload;
    // With a deadline, a peer that stops reading cannot block the caller once the socket is full.
    const int flags = MSG_NOSIGNAL | (deadline ? MSG_DONTWAIT : 0);
    std::size_t done = 0;
    while (done < frame.size()) {
        if (deadline && !Wait(fd, POLLOUT, deadline))
            return false;
        const ssize_t n = send(fd, frame.data() + done, frame.size() - done, flags);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReceiveFrame(int fd, std::string* payload, Deadline deadline) {
    std::string header;
    if (!ReceiveExactly(fd, sizeof(std::int64_t), &header, deadline))
        return false;
    std::int64_t size = 0;
    std::memcpy(&size, header.data(), sizeof(size));
    return size >= 0 && size <= kMaxFrame &&
           ReceiveExactly(fd, static_cast<std::size_t>(size), payload, deadline);
}

} // namespace platform::fx
