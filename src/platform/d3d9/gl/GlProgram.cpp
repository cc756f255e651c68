#include "GlProgram.h"

#include <epoxy/gl.h>

#include <vector>

namespace velmora::d3d9 {

namespace {

// Shaders and programs keep their logs alike; only the two query functions differ.
std::string infoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog) {
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> text(size_t(length) + 1, '\0');
    if (length > 0) getLog(object, length, nullptr, text.data());
    return text.data();
}

GLuint compileStage(GLenum type, const char* name, const std::string& source, std::string& log) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok) return shader;
    log += std::string(name) + " stage:\n" + infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
    glDeleteShader(shader);
    return 0;
}

}  // namespace

unsigned buildGlProgram(const std::string& vertexSource, const std::string& fragmentSource, std::string& log) {
    log.clear();
    GLuint vertex = compileStage(GL_VERTEX_SHADER, "vertex", vertexSource, log);
    GLuint fragment = compileStage(GL_FRAGMENT_SHADER, "fragment", fragmentSource, log);
    if (!vertex || !fragment) {
        if (vertex) glDeleteShader(vertex);
        if (fragment) glDeleteShader(fragment);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok) return program;
    log = "link:\n" + infoLog(program, glGetProgramiv, glGetProgramInfoLog);
    glDeleteProgram(program);
    return 0;
}

}  // namespace velmora::d3d9
