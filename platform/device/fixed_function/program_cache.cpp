#include "device/fixed_function/program_cache.h"

#include "device/fixed_function/glsl_generator.h"

#include <cstdio>
#include <string>
#include <vector>

namespace platform::device {
namespace {

GLuint LinkSeparable(GLenum stage, const std::string& source) {
    const char* text = source.c_str();
    const GLuint program = glCreateShaderProgramv(stage, 1, &text);
    GLint linked = GL_FALSE;
    if (program)
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE)
        return program;
    GLint length = 0;
    if (program)
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    if (program)
        glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
    std::fprintf(stderr, "Direct3D 9 device: fixed-function %s program failed:\n%s\n%s\n",
                 stage == GL_VERTEX_SHADER ? "vertex" : "pixel", log.data(), text);
    glDeleteProgram(program);
    return 0;
}

template <typename Map, typename Key, typename Generate>
GLuint Find(Map* map, const Key& key, GLenum stage, Generate generate) {
    const auto found = map->find(key);
    if (found != map->end())
        return found->second;
    // A failed key is remembered as 0 so that its source is not compiled (and reported) again.
    const GLuint program = LinkSeparable(stage, generate(key));
    map->emplace(key, program);
    return program;
}

} // namespace

ProgramCache::~ProgramCache() {
    for (const auto& entry : vertexPrograms_)
        glDeleteProgram(entry.second);
    for (const auto& entry : pixelPrograms_)
        glDeleteProgram(entry.second);
}

GLuint ProgramCache::VertexProgram(const VertexProgramKey& key) {
    return Find(&vertexPrograms_, key, GL_VERTEX_SHADER, GenerateVertexGlsl);
}

GLuint ProgramCache::PixelProgram(const PixelProgramKey& key) {
    return Find(&pixelPrograms_, key, GL_FRAGMENT_SHADER, GeneratePixelGlsl);
}

} // namespace platform::device
