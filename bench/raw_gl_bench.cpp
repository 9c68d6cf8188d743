// The yardstick of BM_ThousandSmallDrawsWithStateChanges: the same 1000 small draws a frame, written
// by hand in OpenGL 4.5 on the same kind of context (the device's own EGL context, current after its
// creation): the same vertices uploaded per draw, a world matrix and a texture factor per draw,
// blending switched and the texture bound and unbound as the device's draws do, one shader pair
// doing what the fixed-function stage does there, and the same back-buffer read every tenth frame.
// Both measure the process's CPU time (llvmpipe draws on threads of its own); the ratio of the two
// CPU columns is the platform's cost per draw against raw OpenGL.
#include "stand_in_device.h"

#include <benchmark/benchmark.h>
#include <d3d9.h>
#include <d3dx9math.h>

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kDrawsPerFrame = 1000;

struct Vertex {
    float x, y, z;
    std::uint32_t color; // D3DCOLOR: B, G, R, A in memory
    float u, v;
};

const char* const kVertexShader = R"(#version 450 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 color;
layout(location = 2) in vec2 uv;
layout(location = 0) uniform mat4 world;
out vec4 vColor;
out vec2 vUv;
void main() {
    gl_Position = vec4(position, 1.0) * world;
    vColor = color.bgra;
    vUv = uv;
})";

const char* const kFragmentShader = R"(#version 450 core
layout(location = 1) uniform vec4 textureFactor;
layout(location = 2) uniform int textured;
layout(binding = 0) uniform sampler2D stage0;
in vec4 vColor;
in vec2 vUv;
out vec4 color;
void main() {
    color = textured != 0 ? texture(stage0, vUv) * vColor : vColor;
    color.a *= textureFactor.a;
})";

GLuint Compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

class RawGlFrame : StandInDevice {
  public:
    RawGlFrame() { ok_ = SUCCEEDED(OpenDevice(kWidth, kHeight, "raw GL bench")); }
    ~RawGlFrame() {
        glDeleteProgram(program_);
        glDeleteBuffers(1, &vertices_);
        glDeleteVertexArrays(1, &layout_);
        glDeleteTextures(1, &texture_);
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(2, targets_);
    }
    bool Ready() const { return ok_; }

    void Build() {
        glCreateRenderbuffers(2, targets_);
        glNamedRenderbufferStorage(targets_[0], GL_RGBA8, kWidth, kHeight);
        glNamedRenderbufferStorage(targets_[1], GL_DEPTH24_STENCIL8, kWidth, kHeight);
        glCreateFramebuffers(1, &framebuffer_);
        glNamedFramebufferRenderbuffer(framebuffer_, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, targets_[0]);
        glNamedFramebufferRenderbuffer(framebuffer_, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                       targets_[1]);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glViewport(0, 0, kWidth, kHeight);

        std::vector<std::uint32_t> checker(64 * 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                checker[y * 64 + x] = ((x ^ y) & 8) ? 0xFFFFFFFFu : 0xFF404040u;
        glCreateTextures(GL_TEXTURE_2D, 1, &texture_);
        glTextureStorage2D(texture_, 1, GL_RGBA8, 64, 64);
        glTextureSubImage2D(texture_, 0, 0, 0, 64, 64, GL_BGRA, GL_UNSIGNED_BYTE, checker.data());

        program_ = glCreateProgram();
        const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
        const GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
        glAttachShader(program_, vertex);
        glAttachShader(program_, fragment);
        glLinkProgram(program_);
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        glUseProgram(program_);

        glCreateBuffers(1, &vertices_);
        glNamedBufferStorage(vertices_, sizeof(Vertex) * 4 * kDrawsPerFrame, nullptr, GL_DYNAMIC_STORAGE_BIT);
        glCreateVertexArrays(1, &layout_);
        glVertexArrayVertexBuffer(layout_, 0, vertices_, 0, sizeof(Vertex));
        glVertexArrayAttribFormat(layout_, 0, 3, GL_FLOAT, GL_FALSE, offsetof(Vertex, x));
        glVertexArrayAttribFormat(layout_, 1, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(Vertex, color));
        glVertexArrayAttribFormat(layout_, 2, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex, u));
        for (GLuint attribute = 0; attribute < 3; ++attribute) {
            glVertexArrayAttribBinding(layout_, attribute, 0);
            glEnableVertexArrayAttrib(layout_, attribute);
        }
        glBindVertexArray(layout_);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }

    void DrawFrame(const Vertex (&quad)[4]) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glInvalidateBufferData(vertices_);
        for (int i = 0; i < kDrawsPerFrame; ++i) {
            D3DXMATRIX world;
            D3DXMatrixTranslation(&world, static_cast<float>(i % 40) * 0.05f - 0.975f,
                                  static_cast<float>(i / 40) * 0.05f - 0.6f, 0.5f);
            glUniformMatrix4fv(0, 1, GL_FALSE, &world.m[0][0]);
            const std::uint32_t factor = 0xFF000000u | static_cast<std::uint32_t>(i * 0x010203);
            glUniform4f(1, ((factor >> 16) & 0xFF) / 255.0f, ((factor >> 8) & 0xFF) / 255.0f,
                        (factor & 0xFF) / 255.0f, 1.0f);
            if (i & 1)
                glEnable(GL_BLEND);
            else
                glDisable(GL_BLEND);
            glBindTextureUnit(0, (i & 2) ? texture_ : 0);
            glUniform1i(2, (i & 2) ? 1 : 0);
            const GLintptr offset = static_cast<GLintptr>(sizeof quad) * i;
            glNamedBufferSubData(vertices_, offset, sizeof quad, quad);
            glDrawArrays(GL_TRIANGLE_STRIP, i * 4, 4);
        }
    }

    void Sync() {
        pixels_.resize(std::size_t{kWidth} * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_BGRA, GL_UNSIGNED_BYTE, pixels_.data());
    }

  private:
    bool ok_ = false;
    GLuint targets_[2] = {};
    GLuint framebuffer_ = 0, texture_ = 0, program_ = 0, vertices_ = 0, layout_ = 0;
    std::vector<std::uint8_t> pixels_;
};

void BM_ThousandSmallDrawsRawGl(benchmark::State& state) {
    RawGlFrame frame;
    if (!frame.Ready()) {
        state.SkipWithError("no device");
        return;
    }
    frame.Build();
    const Vertex quad[4] = {{-0.02f, 0.02f, 0, 0xFFFFFFFF, 0, 0},
                            {0.02f, 0.02f, 0, 0xFFFF0000, 1, 0},
                            {-0.02f, -0.02f, 0, 0xFF00FF00, 0, 1},
                            {0.02f, -0.02f, 0, 0xFF0000FF, 1, 1}};
    int count = 0;
    for (auto _ : state) {
        frame.DrawFrame(quad);
        glFlush();
        if (++count % 10 == 0)
            frame.Sync();
    }
    frame.Sync();
    state.counters["draws/s"] =
        benchmark::Counter(kDrawsPerFrame, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ThousandSmallDrawsRawGl)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

} // namespace
